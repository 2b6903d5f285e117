#pragma once

class AppCommands;
class LanguageTable;
class QPushButton;

/// Leaves a reject button as it is where the line can turn calls away; elsewhere disables it,
/// with a tooltip that says why.
void offerRejectIfPossible(QPushButton* button, const AppCommands& commands,
                           const LanguageTable& language);
