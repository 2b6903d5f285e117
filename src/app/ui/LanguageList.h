#pragma once

#include <string>

class LanguageTable;
class QComboBox;

/// Fills the box anew with the installed languages in list order and selects the first whose
/// name equals current without regard to case; without one the last entry stays selected.
void fillLanguageList(QComboBox* box, const LanguageTable& language, const std::string& current);
