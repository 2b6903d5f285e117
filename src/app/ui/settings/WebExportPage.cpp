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
    m_webExportCheck = named(new QCheckBox(this), "chkWebExport", lang_id::kWebExportEnable);
    m_errorLabel = named(new QLabel(this), "lblWEError");
    m_errorLabel->setTextFormat(Qt::PlainText);
    m_errorLabel->setWordWrap(true);
    m_errorLabel->hide();
    QPalette errorPalette = m_errorLabel->palette();
    errorPalette.setColor(QPalette::WindowText, Qt::darkRed);
    m_errorLabel->setPalette(errorPalette);

    auto* portLabel = named(new QLabel("Port", this), "lblWebExportPort");
    m_portEdit = named(new QLineEdit(this), "txtWebExportPort");
    auto* passwordLabel = named(new QLabel(this), "lblWebExportPwd", lang_id::kWebExportPassword);
    m_passwordEdit = named(new QLineEdit(this), "txtWebExportPwd");
    auto* passwordHintLabel = named(new QLabel(this), "lblWEInfo", lang_id::kWebExportPasswordHint);
    passwordHintLabel->setWordWrap(true);
    auto* testLinkLabel = named(new QLabel("Test-Link", this), "lblWELink");
    m_testLinkEdit = named(new QLineEdit(this), "txtWELink");
    m_testLinkEdit->setReadOnly(true);
    m_testButton = named(new QPushButton("Test", this), "cmdWETest");
    portLabel->setBuddy(m_portEdit);
    passwordLabel->setBuddy(m_passwordEdit);
    testLinkLabel->setBuddy(m_testLinkEdit);

    auto* fields = new QGridLayout;
    fields->addWidget(portLabel, 0, 0);
    fields->addWidget(m_portEdit, 0, 1, 1, 2);
    fields->addWidget(passwordLabel, 1, 0);
    fields->addWidget(m_passwordEdit, 1, 1, 1, 2);
    fields->addWidget(passwordHintLabel, 2, 1, 1, 2);
    fields->addWidget(testLinkLabel, 3, 0);
    fields->addWidget(m_testLinkEdit, 3, 1);
    fields->addWidget(m_testButton, 3, 2);
    fields->setColumnStretch(1, 1);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_webExportCheck);
    layout->addWidget(m_errorLabel);
    layout->addLayout(fields);
    layout->addStretch();

    // Unticked until load: the fields wait for the box.
    enableFields(false);
    connect(m_webExportCheck, &QCheckBox::toggled, this, &WebExportPage::onExportToggled);
    connect(m_portEdit, &QLineEdit::textChanged, this, &WebExportPage::updateTestLink);
    connect(m_passwordEdit, &QLineEdit::textChanged, this, &WebExportPage::updateTestLink);
    connect(m_testButton, &QPushButton::clicked, this, &WebExportPage::openTestLink);
}

void WebExportPage::load(const SettingsRecord& settings) {
    m_portEdit->setText(QString::number(settings.webExportPort));
    m_passwordEdit->setText(qs(settings.webExportPassword));
    m_webExportCheck->setChecked(settings.webExportOn);
}

void WebExportPage::enableFields(bool on) {
    m_portEdit->setEnabled(on);
    m_passwordEdit->setEnabled(on);
    m_testLinkEdit->setEnabled(on);
    m_testButton->setEnabled(on);
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
    m_errorLabel->setText(failure);
    m_errorLabel->setVisible(!failure.isEmpty());
    return failure.isEmpty();
}

void WebExportPage::updateTestLink() {
    m_testLinkEdit->setText(testAddress(m_portEdit->text(), m_passwordEdit->text()));
}

void WebExportPage::openTestLink() {
    m_urls.openUrl(
        ss(testAddress(QString::number(m_saved.webExportPort), qs(m_saved.webExportPassword))));
}

std::optional<std::int16_t> WebExportPage::enteredPort() const {
    const QString text = m_portEdit->text().trimmed();
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
    settings.webExportOn = m_webExportCheck->isChecked();
    settings.webExportPort = port;
    settings.webExportPassword = ss(m_passwordEdit->text());
}

void WebExportPage::focusPort() {
    m_portEdit->setFocus(Qt::OtherFocusReason);
    m_portEdit->selectAll();
}
