#include "net/UpdateWindow.h"

#include "calls/AppContext.h"
#include "calls/CallViews.h"
#include "net/ProgressBar.h"
#include "net/UpdateCheck.h"
#include "stores/LanguageIds.h"
#include "support/QtText.h"
#include "support/TextFile.h"
#include "support/UserPrompt.h"
#include "support/Version.h"
#include "ui/AppCommands.h"
#include "ui/LanguageTags.h"
#include "ui/WindowLook.h"

#include <QCloseEvent>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QUrl>

namespace {

// Design measures in twips.
constexpr int kClientWidth = 4800;
constexpr int kClientHeight = 2940;
constexpr int kLabelWidth = 1800;
constexpr int kFieldLeft = 2040;
constexpr int kFieldWidth = 2640;
constexpr int kButtonWidth = 2160;
constexpr int kButtonHeight = 375;
constexpr const char* kTitle = "Rufwacht Auto-Update";

QString runningVersion() {
    return QStringLiteral("%1.%2.%3")
        .arg(kAppVersionMajor)
        .arg(kAppVersionMinor)
        .arg(kAppVersionPatch);
}

} // namespace

UpdateWindowParts UpdateWindowParts::of(AppContext& context) {
    return {context.paths, context.settings, context.language};
}

UpdateWindow::UpdateWindow(const UpdateWindowParts& parts, UserPrompt& prompt,
                           AppCommands& commands, UrlOpener& opener, const QIcon& icon,
                           QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      m_parts(parts), m_prompt(prompt), m_commands(commands), m_opener(opener),
      m_scale(TwipsScale::forScreen()), m_versionDownload(prompt), m_setupDownload(prompt) {
    setObjectName("frmAutoUpdate");
    setWindowTitle(kTitle);
    setWindowIcon(icon);
    setFixedSize(m_scale.size(kClientWidth, kClientHeight));
    useDesignFont(this);
    createControls();
    applyLanguageTags(this, parts.language);
    fitButtonCaptions(this);
    centreOnScreen(this);
    m_updateButton->setEnabled(false);
    m_runningVersionEdit->setText(runningVersion());
    QDir().mkpath(updateFolder());

    connect(&m_versionDownload, &Downloader::finished, this, &UpdateWindow::onVersionFileFinished);
    connect(&m_setupDownload, &Downloader::progress, m_progressBar, &ProgressBar::setProgress);
    connect(&m_setupDownload, &Downloader::finished, this, &UpdateWindow::onSetupFinished);
}

UpdateWindow::~UpdateWindow() = default;

QLabel* UpdateWindow::addLabel(const char* name, int languageId, int left, int top, int width) {
    auto* label = new QLabel(this);
    label->setObjectName(name);
    if (languageId != 0) {
        setLanguageTag(label, languageId);
    }
    placeInTwips(label, m_scale, left, top, width, 285);
    return label;
}

QLineEdit* UpdateWindow::addField(const char* name, int top) {
    auto* field = new QLineEdit(this);
    field->setObjectName(name);
    field->setReadOnly(true);
    placeInTwips(field, m_scale, kFieldLeft, top, kFieldWidth, 315);
    return field;
}

void UpdateWindow::createControls() {
    QLabel* infoLabel = addLabel("lblInfo", 0, 120, 120, kClientWidth - 240);
    infoLabel->setText(kTitle);
    QFont heading = infoLabel->font();
    heading.setPointSizeF(12);
    heading.setBold(true);
    infoLabel->setFont(heading);
    placeInTwips(infoLabel, m_scale, 120, 120, kClientWidth - 240, 420);

    addLabel("Label1", lang_id::kInstalledVersion, 120, 720, kLabelWidth);
    m_runningVersionEdit = addField("txtLocal", 690);
    addLabel("Label2", lang_id::kLatestVersion, 120, 1140, kLabelWidth);
    m_offeredVersionEdit = addField("txtRemote", 1110);

    auto* checkButton = new QPushButton(this);
    checkButton->setObjectName("cmdCheck");
    setLanguageTag(checkButton, lang_id::kCheckVersion);
    placeInTwips(checkButton, m_scale, 120, 1620, kButtonWidth, kButtonHeight);
    m_updateButton = new QPushButton(this);
    m_updateButton->setObjectName("cmdUpdate");
    setLanguageTag(m_updateButton, lang_id::kStartUpdate);
    placeInTwips(m_updateButton, m_scale, kClientWidth - 120 - kButtonWidth, 1620, kButtonWidth,
                 kButtonHeight);

    // Above the bar while downloading; in place of both it tells why an update cannot go on.
    m_downloadLabel = addLabel("lblDownload", 0, 120, 2160, kClientWidth - 240);
    placeInTwips(m_downloadLabel, m_scale, 120, 2160, kClientWidth - 240, 720);
    m_downloadLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_downloadLabel->setWordWrap(true);
    m_downloadLabel->setText("Download ...");
    m_downloadLabel->hide();
    m_progressBar = new ProgressBar(this);
    m_progressBar->setObjectName("picProgress");
    placeInTwips(m_progressBar, m_scale, 120, 2460, kClientWidth - 240, 300);
    m_progressBar->hide();

    connect(checkButton, &QPushButton::clicked, this, &UpdateWindow::checkForUpdate);
    connect(m_updateButton, &QPushButton::clicked, this, &UpdateWindow::startUpdate);
}

QString UpdateWindow::updateFolder() const {
    return qs(m_parts.paths.configFile("update/"));
}

QString UpdateWindow::baseAddress() const {
    return qs(updateBase(m_parts.settings.updateUrl));
}

void UpdateWindow::checkForUpdate() {
    m_remoteVersion.clear();
    m_setupSha256.clear();
    m_updateButton->setEnabled(false);
    m_downloadLabel->hide();
    m_progressBar->hide();
    m_versionDownload.start(baseAddress() + "version.txt", updateFolder() + "version.txt");
}

void UpdateWindow::onVersionFileFinished(Downloader::Outcome outcome, const QString& errorText) {
    if (outcome != Downloader::Outcome::Completed) {
        m_offeredVersionEdit->clear();
        showFailure(lang_id::kUpdateCheckFailed, errorText);
        return;
    }
    const auto lines = readTextLines(ss(updateFolder() + "version.txt"));
    const VersionLine line =
        parseVersionLine(lines && !lines->empty() ? lines->front() : std::string());
    m_offeredVersionEdit->setText(qs(line.versionText));
    if (line.malformedDigest) {
        showStatus(lang_id::kUpdateMalformedDigest);
        return;
    }
    const VersionNumber running{kAppVersionMajor, kAppVersionMinor, kAppVersionPatch};
    if (line.version && *line.version > running) {
        m_remoteVersion = qs(line.versionText);
        m_setupSha256 = QByteArray::fromStdString(line.setupSha256);
        m_updateButton->setEnabled(true);
    }
}

void UpdateWindow::startUpdate() {
    if (m_remoteVersion.isEmpty()) {
        return;
    }
    m_downloadLabel->setText("Download ...");
    m_downloadLabel->show();
    m_progressBar->setProgress(0, 0);
    m_progressBar->show();
    const SetupPackage setup = setupPackageFor(ss(m_remoteVersion));
    m_setupFile = updateFolder() + qs(setup.localName);
    m_setupDownload.start(baseAddress() + qs(setup.remoteName), m_setupFile, m_setupSha256);
}

void UpdateWindow::onSetupFinished(Downloader::Outcome outcome, const QString& errorText) {
    if (outcome == Downloader::Outcome::DigestMismatch) {
        showFailure(lang_id::kUpdateDigestMismatch, {});
        return;
    }
    if (outcome != Downloader::Outcome::Completed) {
        showFailure(lang_id::kUpdateDownloadFailed, errorText);
        return;
    }
    // A file that cannot be checked is never handed to the desktop to run.
    if (m_setupSha256.isEmpty()) {
        showStatus(lang_id::kUpdateWithoutDigest);
        if (m_prompt.question(m_parts.language.text(lang_id::kUpdateWithoutDigest), kTitle)) {
            m_opener.openUrl(ss(QUrl::fromLocalFile(updateFolder()).toString()));
        }
        return;
    }
    // The program ends only when the desktop has taken the setup over.
    if (!m_opener.openUrl(ss(QUrl::fromLocalFile(m_setupFile).toString()))) {
        showFailure(lang_id::kUpdateOpenFailed, QDir::toNativeSeparators(m_setupFile));
        return;
    }
    close();
    m_commands.exitForUpdate();
}

void UpdateWindow::showStatus(int languageId, const QString& detail) {
    QString text = qs(m_parts.language.text(languageId));
    if (!detail.isEmpty()) {
        text += ' ' + detail;
    }
    m_downloadLabel->setText(text);
    m_downloadLabel->setToolTip(text);
    m_downloadLabel->show();
    m_progressBar->hide();
}

void UpdateWindow::showFailure(int languageId, const QString& detail) {
    showStatus(languageId, detail);
    std::string text = m_parts.language.text(languageId);
    if (!detail.isEmpty()) {
        text += "\r\n" + ss(detail);
    }
    m_prompt.message(text, kTitle, PromptIcon::Critical);
}

void UpdateWindow::closeEvent(QCloseEvent* event) {
    m_versionDownload.abort();
    m_setupDownload.abort();
    event->accept();
}
