#include "ui/PhonebookAdd.h"

#include "stores/LanguageIds.h"
#include "stores/LanguageTable.h"
#include "stores/Phonebook.h"
#include "support/NumericText.h"
#include "support/UserPrompt.h"

bool canAddToPhonebook(const std::string& number) {
    return isNumericText(number) && number.find('.') == std::string::npos;
}

bool askAndAddToPhonebook(const std::string& number, UserPrompt& prompt,
                          const LanguageTable& language, Phonebook& phonebook) {
    if (!canAddToPhonebook(number)) {
        return false;
    }
    const std::string question = language.text(lang_id::kAddToPhonebookQuestion) + "\r\n" +
                                 language.text(lang_id::kNumber) + ": " + number;
    if (!prompt.question(question, "")) {
        return false;
    }
    const auto name = prompt.input(language.text(lang_id::kAddToPhonebookNamePrompt), "", "");
    if (!name || name->empty()) {
        return false;
    }
    phonebook.add(number, *name, false, "", "");
    return true;
}
