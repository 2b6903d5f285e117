#include "ui/PhonebookAdd.h"

#include "calls/AppContext.h"
#include "stores/LanguageIds.h"
#include "support/NumericText.h"
#include "support/UserPrompt.h"

bool canAddToPhonebook(const std::string& number) {
    return isNumericText(number) && number.find('.') == std::string::npos;
}

bool askAndAddToPhonebook(const std::string& number, UserPrompt& prompt, AppContext& context) {
    if (!canAddToPhonebook(number)) {
        return false;
    }
    const LanguageTable& language = context.language;
    const std::string question = language.text(lang_id::kAddToPhonebookQuestion) + "\r\n" +
                                 language.text(lang_id::kNumber) + ": " + number;
    if (!prompt.question(question, "")) {
        return false;
    }
    const auto name = prompt.input(language.text(lang_id::kAddToPhonebookNamePrompt), "", "");
    if (!name || name->empty()) {
        return false;
    }
    context.phonebook.add(number, *name, false, "", "");
    return true;
}
