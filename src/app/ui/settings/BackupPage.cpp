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

BackupPageParts BackupPageParts::of(AppContext& context) {
    return {context.paths,     context.language, context,
            context.phonebook, context.msnList,  context.storeWriter};
}

BackupPage::BackupPage(const BackupPageParts& parts, UserPrompt& prompt, FilePicker& files,
                       QWidget* parent)
    : QWidget(parent), m_parts(parts), m_prompt(prompt), m_files(files) {
    setObjectName("picCfgBackup");
    auto* hintLabel = named(new QLabel(this), "lblBack", lang_id::kBackupHint);
    hintLabel->setWordWrap(true);
    auto* backupButton = named(new QPushButton(this), "cmdBackup", lang_id::kBackup);
    auto* restoreButton = named(new QPushButton(this), "cmdRestore", lang_id::kRestore);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(backupButton);
    buttons->addWidget(restoreButton);
    buttons->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(hintLabel);
    layout->addLayout(buttons);
    layout->addStretch();

    connect(backupButton, &QPushButton::clicked, this, &BackupPage::backUp);
    connect(restoreButton, &QPushButton::clicked, this, &BackupPage::restore);
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
    m_prompt.message(m_parts.language.text(languageId), "", PromptIcon::Information);
}

void BackupPage::backUp() {
    const auto target = m_files.saveFile(window(), kBackupFilter, {});
    if (!target) {
        return;
    }
    // The backup and the restore read and replace the lists' files: no save may be under way.
    m_parts.storeWriter.finish();
    if (!writeBackup(m_parts.paths, *target)) {
        tell(lang_id::kBackupNotWritten);
    }
}

void BackupPage::restore() {
    const auto source = m_files.openFile(window(), kBackupFilter, {});
    if (!source) {
        return;
    }
    m_parts.storeWriter.finish();
    const RestoreResult result = restoreBackup(m_parts.paths, *source);
    if (result != RestoreResult::Restored) {
        tell(refusalText(result));
        return;
    }
    m_parts.settingsStorage.loadSettings();
    m_parts.phonebook.load(m_parts.paths.configFile("nn.dat"));
    m_parts.msnList.load(m_parts.paths.configFile("msn.dat"));
    emit restored();
    tell(lang_id::kRestartNeeded);
}
