#pragma once

#include <string>

class LanguageTable;
class Phonebook;
class UserPrompt;

/// True for a caller text that can go into the phonebook: a plain number, no name and no
/// withheld-number text, and no decimal point.
bool canAddToPhonebook(const std::string& number);

/// Asks whether to add the number and for its name, then adds it (no reject flag, no sound, no
/// picture). Nothing happens for a number that cannot be added, a No, or an empty name.
/// True when an entry was added.
bool askAndAddToPhonebook(const std::string& number, UserPrompt& prompt,
                          const LanguageTable& language, Phonebook& phonebook);
