#include "ui/settings/BackupPage.h"

#include "calls/AppContext.h"
#include "stores/LanguageIds.h"
#include "stores/SettingsBackup.h"
#include "support/UserPrompt.h"
#include "ui/FilePicker.h"
#include "ui/settings/PageLayout.h"
#include "ui/settings/PickFile.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

BackupPage::BackupPage(AppContext& context, UserPrompt& prompt, FilePicker& files, QWidget* parent)
    : QWidget(parent), m_context(context), m_prompt(prompt), m_files(files) {
    setObjectName("picCfgBackup");
    auto* lblBack = named(new QLabel(this), "lblBack", lang_id::kBackupHint);
    lblBack->setWordWrap(true);
    auto* cmdBackup = named(new QPushButton(this), "cmdBackup", lang_id::kBackup);
    auto* cmdRestore = named(new QPushButton(this), "cmdRestore", lang_id::kRestore);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(cmdBackup);
    buttons->addWidget(cmdRestore);
    buttons->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(lblBack);
    layout->addLayout(buttons);
    layout->addStretch();

    connect(cmdBackup, &QPushButton::clicked, this, &BackupPage::backUp);
    connect(cmdRestore, &QPushButton::clicked, this, &BackupPage::restore);
}

BackupPage::~BackupPage() = default;

namespace {

// Why a restore changed nothing.
int refusalText(RestoreResult result) {
    switch (result) {
    case RestoreResult::Unreadable:
        return lang_id::kBackupUnreadable;
    case RestoreResult::NoSections:
        return lang_id::kBackupWithoutSections;
    case RestoreResult::CutOff:
        return lang_id::kBackupCutOff;
    case RestoreResult::TooLarge:
        return lang_id::kBackupTooLarge;
    default:
        return lang_id::kRestoreNotWritten;
    }
}

} // namespace

void BackupPage::tell(int languageId) {
    m_prompt.message(m_context.language.text(languageId), "", PromptIcon::Information);
}

void BackupPage::backUp() {
    const auto target = m_files.saveFile(window(), kBackupFilter, {});
    if (!target) {
        return;
    }
    // The backup and the restore read and replace the lists' files: no save may be under way.
    m_context.storeWriter.finish();
    if (!writeBackup(m_context.paths, *target)) {
        tell(lang_id::kBackupNotWritten);
    }
}

void BackupPage::restore() {
    const auto source = m_files.openFile(window(), kBackupFilter, {});
    if (!source) {
        return;
    }
    m_context.storeWriter.finish();
    const RestoreResult result = restoreBackup(m_context.paths, *source);
    if (result != RestoreResult::Restored) {
        tell(refusalText(result));
        return;
    }
    m_context.loadSettings();
    m_context.phonebook.load(m_context.paths.configFile("nn.dat"));
    m_context.msnList.load(m_context.paths.configFile("msn.dat"));
    emit restored();
    tell(lang_id::kRestartNeeded);
}
