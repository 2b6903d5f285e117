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
    m_mqttCheck = named(new QCheckBox(this), "chkMqtt", lang_id::kMqttEnable);
    auto* hostLabel = named(new QLabel(this), "lblMqttHost", lang_id::kMqttHost);
    m_hostEdit = named(new QLineEdit(this), "txtMqttHost");
    auto* portLabel = named(new QLabel("Port", this), "lblMqttPort");
    m_portEdit = named(new QLineEdit(this), "txtMqttPort");
    auto* userLabel = named(new QLabel(this), "lblMqttUser", lang_id::kMqttUser);
    m_userEdit = named(new QLineEdit(this), "txtMqttUser");
    auto* passwordLabel = named(new QLabel(this), "lblMqttPwd", lang_id::kMqttPassword);
    m_passwordEdit = named(new QLineEdit(this), "txtMqttPwd");
    m_passwordEdit->setEchoMode(QLineEdit::Password);
    m_tlsCheck = named(new QCheckBox(this), "chkMqttTls", lang_id::kMqttTls);
    auto* topicLabel = named(new QLabel(this), "lblMqttTopic", lang_id::kMqttTopic);
    m_topicEdit = named(new QLineEdit(this), "txtMqttTopic");
    // Empty stands for the default, which the box shows greyed.
    m_topicEdit->setPlaceholderText(qs(mqtt::defaultPrefix(ss(QSysInfo::machineHostName()))));
    m_discoveryCheck = named(new QCheckBox(this), "chkMqttDiscovery", lang_id::kMqttDiscovery);
    hostLabel->setBuddy(m_hostEdit);
    portLabel->setBuddy(m_portEdit);
    userLabel->setBuddy(m_userEdit);
    passwordLabel->setBuddy(m_passwordEdit);
    topicLabel->setBuddy(m_topicEdit);

    auto* fields = new QGridLayout;
    fields->addWidget(hostLabel, 0, 0);
    fields->addWidget(m_hostEdit, 0, 1);
    fields->addWidget(portLabel, 1, 0);
    fields->addWidget(m_portEdit, 1, 1);
    fields->addWidget(userLabel, 2, 0);
    fields->addWidget(m_userEdit, 2, 1);
    fields->addWidget(passwordLabel, 3, 0);
    fields->addWidget(m_passwordEdit, 3, 1);
    fields->addWidget(m_tlsCheck, 4, 1);
    fields->addWidget(topicLabel, 5, 0);
    fields->addWidget(m_topicEdit, 5, 1);
    fields->addWidget(m_discoveryCheck, 6, 1);
    fields->setColumnStretch(1, 1);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_mqttCheck);
    layout->addLayout(fields);
    layout->addStretch();

    chainTabOrder({m_mqttCheck, m_hostEdit, m_portEdit, m_userEdit, m_passwordEdit, m_tlsCheck,
                   m_topicEdit, m_discoveryCheck});
    enableFields(false);
    connect(m_mqttCheck, &QCheckBox::toggled, this, &MqttPage::enableFields);
}

void MqttPage::enableFields(bool on) {
    for (QWidget* field :
         std::initializer_list<QWidget*>{m_hostEdit, m_portEdit, m_userEdit, m_passwordEdit,
                                         m_tlsCheck, m_topicEdit, m_discoveryCheck}) {
        field->setEnabled(on);
    }
}

void MqttPage::load(const SettingsRecord& settings) {
    m_hostEdit->setText(qs(settings.mqttHost));
    m_portEdit->setText(QString::number(settings.mqttPort));
    m_userEdit->setText(qs(settings.mqttUser));
    m_passwordEdit->setText(qs(settings.mqttPassword));
    m_tlsCheck->setChecked(settings.mqttTls);
    m_topicEdit->setText(qs(settings.mqttTopic));
    m_discoveryCheck->setChecked(settings.mqttDiscovery);
    m_mqttCheck->setChecked(settings.mqttOn);
    enableFields(settings.mqttOn);
}

bool MqttPage::hasValidEntries() const {
    if (!m_mqttCheck->isChecked()) {
        return true;
    }
    const std::string topic = ss(m_topicEdit->text().trimmed());
    return !m_hostEdit->text().trimmed().isEmpty() &&
           parseSettingPort(ss(m_portEdit->text().trimmed())).has_value() &&
           (topic.empty() || mqtt::isUsablePrefix(topic));
}

void MqttPage::store(SettingsRecord& settings) const {
    settings.mqttOn = m_mqttCheck->isChecked();
    settings.mqttHost = ss(m_hostEdit->text().trimmed());
    settings.mqttPort =
        parseSettingPort(ss(m_portEdit->text().trimmed())).value_or(settings.mqttPort);
    settings.mqttUser = ss(m_userEdit->text());
    settings.mqttPassword = ss(m_passwordEdit->text());
    settings.mqttTls = m_tlsCheck->isChecked();
    settings.mqttTopic = ss(m_topicEdit->text().trimmed());
    settings.mqttDiscovery = m_discoveryCheck->isChecked();
}

void MqttPage::focusHost() {
    m_hostEdit->setFocus(Qt::OtherFocusReason);
    m_hostEdit->selectAll();
}
