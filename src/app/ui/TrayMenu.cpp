#include "ui/TrayMenu.h"

#include "stores/LanguageIds.h"
#include "ui/AppCommands.h"
#include "ui/LanguageTags.h"

#include <QAction>

TrayMenu::TrayMenu(AppCommands& commands, const LanguageTable& language, QWidget* parent)
    : QMenu(parent) {
    setObjectName("mnuPop");
    QAction* journal = addTaggedAction(this, "mnuLoadMain", lang_id::kCallJournal);
    QAction* settings = addTaggedAction(this, "mnuConfig", lang_id::kSettings);
    QAction* info = addTaggedAction(this, "mnuInfo", lang_id::kInfo);
    addSeparator()->setObjectName("mnuDiv");
    QAction* exit = addTaggedAction(this, "mnuExit", lang_id::kExitTitle);
    applyLanguageTags(this, language);
    connect(journal, &QAction::triggered, this, &TrayMenu::journalRequested);
    connect(settings, &QAction::triggered, this, [&commands]() { commands.openSettings(false); });
    connect(info, &QAction::triggered, this, [&commands]() { commands.openSettings(true); });
    connect(exit, &QAction::triggered, this, [&commands]() { commands.exitApp(); });
}
