#pragma once

#include <QWidget>

struct AppContext;
class FilePicker;
class UserPrompt;

/// The settings page that writes settings, MSN list and phonebook to one backup file and
/// restores them from it.
class BackupPage : public QWidget {
    Q_OBJECT
public:
    BackupPage(AppContext& context, UserPrompt& prompt, FilePicker& files,
               QWidget* parent = nullptr);
    ~BackupPage() override;

signals:
    /// A backup has been restored and the settings and lists reloaded from it.
    void restored();

private:
    void backUp();
    void restore();
    void tell(int languageId);

    AppContext& m_context;
    UserPrompt& m_prompt;
    FilePicker& m_files;
};
