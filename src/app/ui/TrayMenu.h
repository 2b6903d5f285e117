#pragma once

#include <QMenu>

class AppCommands;
class LanguageTable;

/// The notification icon's menu: the journal, the settings, their info page and exit. It lives
/// apart from the journal window, which is only made when it is first wanted.
class TrayMenu : public QMenu {
    Q_OBJECT
public:
    TrayMenu(AppCommands& commands, const LanguageTable& language, QWidget* parent = nullptr);

signals:
    /// The user chose the journal.
    void journalRequested();
};
