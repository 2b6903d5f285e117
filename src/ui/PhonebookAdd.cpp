#include "ui/PhonebookAdd.h"

#include "stores/LanguageIds.h"
#include "stores/cLanguage.h"
#include "stores/cPhonebook.h"
#include "support/NumericText.h"
#include "support/UserPrompt.h"

bool canAddToPhonebook(const std::string& number) {
    return isNumericText(number) && number.find('.') == std::string::npos;
}

bool askAndAddToPhonebook(const std::string& number, UserPrompt& prompt, cPhonebook& phonebook) {
    if (!canAddToPhonebook(number)) {
        return false;
    }
    const cLanguage& language = Language();
    const std::string question = language.getStr(lang_id::kAddToPhonebookQuestion) + "\r\n" +
                                 language.getStr(lang_id::kNumber) + ": " + number;
    if (!prompt.question(question, "")) {
        return false;
    }
    const auto name = prompt.input(language.getStr(lang_id::kAddToPhonebookNamePrompt), "", "");
    if (!name || name->empty()) {
        return false;
    }
    phonebook.add(number, *name, false, "", "");
    return true;
}
