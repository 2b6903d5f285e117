#pragma once

#include "net/Downloader.h"
#include "ui/Twips.h"

#include <QWidget>

struct AppContext;
class AppCommands;
class AppPaths;
class LanguageTable;
class ProgressBar;
class QLabel;
class QLineEdit;
class QPushButton;
class UrlOpener;
class UserPrompt;
struct SettingsRecord;

/// What the update window reads: its download folder, the update server's address and the
/// texts.
struct UpdateWindowParts {
    const AppPaths& paths;
    const SettingsRecord& settings;
    const LanguageTable& language;

    static UpdateWindowParts of(AppContext& context);
};

/// The update window (`frmAutoUpdate`): on the user's request fetches the update server's
/// version.txt and shows the version offered beside the running one; when that is newer,
/// downloads its setup file with a progress bar, hands it to the desktop and ends the program.
class UpdateWindow : public QWidget {
    Q_OBJECT
public:
    UpdateWindow(const UpdateWindowParts& parts, UserPrompt& prompt, AppCommands& commands,
                 UrlOpener& opener, const QIcon& icon, QWidget* parent = nullptr);
    ~UpdateWindow() override;

    /// The folder the downloads go to, with a trailing separator.
    QString updateFolder() const;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void createControls();
    QLabel* addLabel(const char* name, int languageId, int left, int top, int width);
    QLineEdit* addField(const char* name, int top);
    QString baseAddress() const;

    void checkForUpdate();
    void onVersionFileFinished(Downloader::Outcome outcome, const QString& errorText);
    void startUpdate();
    void onSetupFinished(Downloader::Outcome outcome, const QString& errorText);
    /// Shows a text in place of the download's progress.
    void showStatus(int languageId, const QString& detail = {});
    void showFailure(int languageId, const QString& detail);

    UpdateWindowParts m_parts;
    UserPrompt& m_prompt;
    AppCommands& m_commands;
    UrlOpener& m_opener;
    TwipsScale m_scale;
    Downloader m_versionDownload; // the design's DLUpdateCheck
    Downloader m_setupDownload;   // the design's DLUpdateDownload
    QString m_remoteVersion;      // the newer version found by the last check
    QByteArray m_setupSha256;     // its setup file's digest, when version.txt names one
    QString m_setupFile;
    QLineEdit* m_runningVersionEdit = nullptr;
    QLineEdit* m_offeredVersionEdit = nullptr;
    QPushButton* m_updateButton = nullptr;
    QLabel* m_downloadLabel = nullptr;
    ProgressBar* m_progressBar = nullptr;
};
