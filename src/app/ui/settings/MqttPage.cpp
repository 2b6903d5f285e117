#include "ui/settings/MqttPage.h"

#include "net/MqttMessages.h"
#include "stores/LanguageIds.h"
#include "stores/Settings.h"
#include "support/QtText.h"
#include "ui/settings/PageLayout.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSysInfo>
#include <QVBoxLayout>

MqttPage::MqttPage(QWidget* parent) : QWidget(parent) {
    setObjectName("picCfgMqtt");
    createControls();
}

MqttPage::~MqttPage() = default;

void MqttPage::createControls() {
    m_chkMqtt = named(new QCheckBox(this), "chkMqtt", lang_id::kMqttEnable);
    auto* lblHost = named(new QLabel(this), "lblMqttHost", lang_id::kMqttHost);
    m_txtMqttHost = named(new QLineEdit(this), "txtMqttHost");
    auto* lblPort = named(new QLabel("Port", this), "lblMqttPort");
    m_txtMqttPort = named(new QLineEdit(this), "txtMqttPort");
    auto* lblUser = named(new QLabel(this), "lblMqttUser", lang_id::kMqttUser);
    m_txtMqttUser = named(new QLineEdit(this), "txtMqttUser");
    auto* lblPassword = named(new QLabel(this), "lblMqttPwd", lang_id::kMqttPassword);
    m_txtMqttPwd = named(new QLineEdit(this), "txtMqttPwd");
    m_txtMqttPwd->setEchoMode(QLineEdit::Password);
    m_chkMqttTls = named(new QCheckBox(this), "chkMqttTls", lang_id::kMqttTls);
    auto* lblTopic = named(new QLabel(this), "lblMqttTopic", lang_id::kMqttTopic);
    m_txtMqttTopic = named(new QLineEdit(this), "txtMqttTopic");
    // Empty stands for the default, which the box shows greyed.
    m_txtMqttTopic->setPlaceholderText(qs(mqtt::defaultPrefix(ss(QSysInfo::machineHostName()))));
    m_chkMqttDiscovery = named(new QCheckBox(this), "chkMqttDiscovery", lang_id::kMqttDiscovery);
    lblHost->setBuddy(m_txtMqttHost);
    lblPort->setBuddy(m_txtMqttPort);
    lblUser->setBuddy(m_txtMqttUser);
    lblPassword->setBuddy(m_txtMqttPwd);
    lblTopic->setBuddy(m_txtMqttTopic);

    auto* fields = new QGridLayout;
    fields->addWidget(lblHost, 0, 0);
    fields->addWidget(m_txtMqttHost, 0, 1);
    fields->addWidget(lblPort, 1, 0);
    fields->addWidget(m_txtMqttPort, 1, 1);
    fields->addWidget(lblUser, 2, 0);
    fields->addWidget(m_txtMqttUser, 2, 1);
    fields->addWidget(lblPassword, 3, 0);
    fields->addWidget(m_txtMqttPwd, 3, 1);
    fields->addWidget(m_chkMqttTls, 4, 1);
    fields->addWidget(lblTopic, 5, 0);
    fields->addWidget(m_txtMqttTopic, 5, 1);
    fields->addWidget(m_chkMqttDiscovery, 6, 1);
    fields->setColumnStretch(1, 1);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_chkMqtt);
    layout->addLayout(fields);
    layout->addStretch();

    chainTabOrder({m_chkMqtt, m_txtMqttHost, m_txtMqttPort, m_txtMqttUser, m_txtMqttPwd,
                   m_chkMqttTls, m_txtMqttTopic, m_chkMqttDiscovery});
    enableFields(false);
    connect(m_chkMqtt, &QCheckBox::toggled, this, &MqttPage::enableFields);
}

void MqttPage::enableFields(bool on) {
    for (QWidget* field :
         std::initializer_list<QWidget*>{m_txtMqttHost, m_txtMqttPort, m_txtMqttUser, m_txtMqttPwd,
                                         m_chkMqttTls, m_txtMqttTopic, m_chkMqttDiscovery}) {
        field->setEnabled(on);
    }
}

void MqttPage::load(const SettingsRecord& settings) {
    m_txtMqttHost->setText(qs(settings.mqttHost));
    m_txtMqttPort->setText(QString::number(settings.mqttPort));
    m_txtMqttUser->setText(qs(settings.mqttUser));
    m_txtMqttPwd->setText(qs(settings.mqttPassword));
    m_chkMqttTls->setChecked(settings.mqttTls);
    m_txtMqttTopic->setText(qs(settings.mqttTopic));
    m_chkMqttDiscovery->setChecked(settings.mqttDiscovery);
    m_chkMqtt->setChecked(settings.mqttOn);
    enableFields(settings.mqttOn);
}

bool MqttPage::hasValidEntries() const {
    if (!m_chkMqtt->isChecked()) {
        return true;
    }
    const std::string topic = ss(m_txtMqttTopic->text().trimmed());
    return !m_txtMqttHost->text().trimmed().isEmpty() &&
           parseSettingPort(ss(m_txtMqttPort->text().trimmed())).has_value() &&
           (topic.empty() || mqtt::isUsablePrefix(topic));
}

void MqttPage::store(SettingsRecord& settings) const {
    settings.mqttOn = m_chkMqtt->isChecked();
    settings.mqttHost = ss(m_txtMqttHost->text().trimmed());
    settings.mqttPort =
        parseSettingPort(ss(m_txtMqttPort->text().trimmed())).value_or(settings.mqttPort);
    settings.mqttUser = ss(m_txtMqttUser->text());
    settings.mqttPassword = ss(m_txtMqttPwd->text());
    settings.mqttTls = m_chkMqttTls->isChecked();
    settings.mqttTopic = ss(m_txtMqttTopic->text().trimmed());
    settings.mqttDiscovery = m_chkMqttDiscovery->isChecked();
}

void MqttPage::focusHost() {
    m_txtMqttHost->setFocus(Qt::OtherFocusReason);
    m_txtMqttHost->selectAll();
}
