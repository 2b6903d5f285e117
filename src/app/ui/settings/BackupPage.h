#pragma once

#include <QWidget>

struct AppContext;
class AppPaths;
class FilePicker;
class LanguageTable;
class MsnList;
class Phonebook;
class SettingsStorage;
class StoreWriter;
class UserPrompt;

/// What the backup page writes to a backup and reloads after a restore: the settings and the
/// lists in the settings folder.
struct BackupPageParts {
    const AppPaths& paths;
    const LanguageTable& language;
    SettingsStorage& settingsStorage;
    Phonebook& phonebook;
    MsnList& msnList;
    /// Finished before a backup or restore reads or replaces the lists' files.
    StoreWriter& storeWriter;

    static BackupPageParts of(AppContext& context);
};

/// The settings page that writes settings, MSN list and phonebook to one backup file and
/// restores them from it.
class BackupPage : public QWidget {
    Q_OBJECT
public:
    BackupPage(const BackupPageParts& parts, UserPrompt& prompt, FilePicker& files,
               QWidget* parent = nullptr);
    ~BackupPage() override;

signals:
    /// A backup has been restored and the settings and lists reloaded from it.
    void restored();

private:
    void backUp();
    void restore();
    void tell(int languageId);

    BackupPageParts m_parts;
    UserPrompt& m_prompt;
    FilePicker& m_files;
};
