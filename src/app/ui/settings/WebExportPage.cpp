#include "ui/settings/WebExportPage.h"

#include "calls/CallViews.h"
#include "net/WebExportControl.h"
#include "stores/LanguageIds.h"
#include "stores/LanguageTable.h"
#include "stores/Settings.h"
#include "support/QtText.h"
#include "ui/settings/PageLayout.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <limits>

namespace {

QString testAddress(const QString& port, const QString& password) {
    return "http://localhost:" + port + "/index.html&pwd=" + password;
}

} // namespace

WebExportPage::WebExportPage(WebExportControl& server, UrlOpener& urls, const SettingsRecord& saved,
                             const LanguageTable& language, QWidget* parent)
    : QWidget(parent), m_server(server), m_urls(urls), m_saved(saved), m_language(language) {
    setObjectName("picWebExport");
    createControls();
}

WebExportPage::~WebExportPage() = default;

void WebExportPage::createControls() {
    m_chkWebExport = named(new QCheckBox(this), "chkWebExport", lang_id::kWebExportEnable);
    m_lblWEError = named(new QLabel(this), "lblWEError");
    m_lblWEError->setTextFormat(Qt::PlainText);
    m_lblWEError->setWordWrap(true);
    m_lblWEError->hide();
    QPalette errorPalette = m_lblWEError->palette();
    errorPalette.setColor(QPalette::WindowText, Qt::darkRed);
    m_lblWEError->setPalette(errorPalette);

    auto* lblPort = named(new QLabel("Port", this), "lblWebExportPort");
    m_txtWebExportPort = named(new QLineEdit(this), "txtWebExportPort");
    auto* lblPassword = named(new QLabel(this), "lblWebExportPwd", lang_id::kWebExportPassword);
    m_txtWebExportPwd = named(new QLineEdit(this), "txtWebExportPwd");
    auto* lblWEInfo = named(new QLabel(this), "lblWEInfo", lang_id::kWebExportPasswordHint);
    lblWEInfo->setWordWrap(true);
    auto* lblWELink = named(new QLabel("Test-Link", this), "lblWELink");
    m_txtWELink = named(new QLineEdit(this), "txtWELink");
    m_txtWELink->setReadOnly(true);
    m_cmdWETest = named(new QPushButton("Test", this), "cmdWETest");
    lblPort->setBuddy(m_txtWebExportPort);
    lblPassword->setBuddy(m_txtWebExportPwd);
    lblWELink->setBuddy(m_txtWELink);

    auto* fields = new QGridLayout;
    fields->addWidget(lblPort, 0, 0);
    fields->addWidget(m_txtWebExportPort, 0, 1, 1, 2);
    fields->addWidget(lblPassword, 1, 0);
    fields->addWidget(m_txtWebExportPwd, 1, 1, 1, 2);
    fields->addWidget(lblWEInfo, 2, 1, 1, 2);
    fields->addWidget(lblWELink, 3, 0);
    fields->addWidget(m_txtWELink, 3, 1);
    fields->addWidget(m_cmdWETest, 3, 2);
    fields->setColumnStretch(1, 1);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_chkWebExport);
    layout->addWidget(m_lblWEError);
    layout->addLayout(fields);
    layout->addStretch();

    // Unticked until load: the fields wait for the box.
    enableFields(false);
    connect(m_chkWebExport, &QCheckBox::toggled, this, &WebExportPage::onExportToggled);
    connect(m_txtWebExportPort, &QLineEdit::textChanged, this, &WebExportPage::updateTestLink);
    connect(m_txtWebExportPwd, &QLineEdit::textChanged, this, &WebExportPage::updateTestLink);
    connect(m_cmdWETest, &QPushButton::clicked, this, &WebExportPage::openTestLink);
}

void WebExportPage::load(const SettingsRecord& settings) {
    m_txtWebExportPort->setText(QString::number(settings.webExportPort));
    m_txtWebExportPwd->setText(qs(settings.webExportPassword));
    m_chkWebExport->setChecked(settings.webExportOn);
}

void WebExportPage::enableFields(bool on) {
    m_txtWebExportPort->setEnabled(on);
    m_txtWebExportPwd->setEnabled(on);
    m_txtWELink->setEnabled(on);
    m_cmdWETest->setEnabled(on);
}

void WebExportPage::onExportToggled(bool on) {
    enableFields(on);
    applyToServer(on);
}

bool WebExportPage::applyToServer(bool on) {
    QString failure;
    if (!on) {
        m_server.stop();
    } else if (m_saved.webExportPort < 1) {
        failure = qs(m_language.text(lang_id::kInvalidPort));
    } else if (!m_server.start(static_cast<std::uint16_t>(m_saved.webExportPort))) {
        failure = qs(m_language.text(lang_id::kWebExportNotStarted) + " " + m_server.lastError());
    }
    m_lblWEError->setText(failure);
    m_lblWEError->setVisible(!failure.isEmpty());
    return failure.isEmpty();
}

void WebExportPage::updateTestLink() {
    m_txtWELink->setText(testAddress(m_txtWebExportPort->text(), m_txtWebExportPwd->text()));
}

void WebExportPage::openTestLink() {
    m_urls.openUrl(
        ss(testAddress(QString::number(m_saved.webExportPort), qs(m_saved.webExportPassword))));
}

std::optional<std::int16_t> WebExportPage::enteredPort() const {
    const QString text = m_txtWebExportPort->text().trimmed();
    for (const QChar c : text) {
        if (!c.isDigit() || c.unicode() > 0x7f) {
            return std::nullopt;
        }
    }
    bool ok = false;
    const int port = text.toInt(&ok);
    if (!ok || port < 1 || port > std::numeric_limits<std::int16_t>::max()) {
        return std::nullopt;
    }
    return static_cast<std::int16_t>(port);
}

void WebExportPage::store(SettingsRecord& settings, std::int16_t port) const {
    settings.webExportOn = m_chkWebExport->isChecked();
    settings.webExportPort = port;
    settings.webExportPassword = ss(m_txtWebExportPwd->text());
}

void WebExportPage::focusPort() {
    m_txtWebExportPort->setFocus(Qt::OtherFocusReason);
    m_txtWebExportPort->selectAll();
}
