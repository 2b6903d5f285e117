#include "ui/settings/CallSharingGroup.h"

#include "outputs/AddressAllowList.h"
#include "stores/LanguageIds.h"
#include "stores/Settings.h"
#include "support/CommandSplit.h"
#include "support/QtText.h"
#include "ui/settings/PageLayout.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

CallSharingGroup::CallSharingGroup(QWidget* parent) : QGroupBox(parent) {
    named(this, "FrameShare", lang_id::kCallSharingGroup);
    m_monitorServerCheck =
        named(new QCheckBox(this), "chkMonitorServer", lang_id::kMonitorServerEnable);
    auto* portLabel = named(new QLabel("Port", this), "lblMonitorPort");
    m_monitorPortEdit = named(new QLineEdit(this), "txtMonitorPort");
    auto* allowLabel = named(new QLabel(this), "lblMonitorAllow", lang_id::kMonitorAllow);
    m_monitorAllowEdit = named(new QLineEdit(this), "txtMonitorAllow");
    auto* restartLabel = named(new QLabel(this), "lblMonitorRestart", lang_id::kMonitorAtNextStart);
    restartLabel->setWordWrap(true);
    auto* onCallLabel = named(new QLabel(this), "lblOnCall", lang_id::kOnCallCommand);
    m_onCallCommandEdit = named(new QLineEdit(this), "txtOnCall");
    portLabel->setBuddy(m_monitorPortEdit);
    allowLabel->setBuddy(m_monitorAllowEdit);
    onCallLabel->setBuddy(m_onCallCommandEdit);

    auto* layout = new QGridLayout(this);
    layout->addWidget(m_monitorServerCheck, 0, 0, 1, 2);
    layout->addWidget(portLabel, 1, 0);
    layout->addWidget(m_monitorPortEdit, 1, 1);
    layout->addWidget(allowLabel, 2, 0);
    layout->addWidget(m_monitorAllowEdit, 2, 1);
    layout->addWidget(restartLabel, 3, 0, 1, 2);
    layout->addWidget(onCallLabel, 4, 0);
    layout->addWidget(m_onCallCommandEdit, 4, 1);
    layout->setColumnStretch(1, 1);

    chainTabOrder(
        {m_monitorServerCheck, m_monitorPortEdit, m_monitorAllowEdit, m_onCallCommandEdit});
    enableServerFields(false);
    connect(m_monitorServerCheck, &QCheckBox::toggled, this, &CallSharingGroup::enableServerFields);
}

CallSharingGroup::~CallSharingGroup() = default;

void CallSharingGroup::enableServerFields(bool on) {
    m_monitorPortEdit->setEnabled(on);
    m_monitorAllowEdit->setEnabled(on);
}

void CallSharingGroup::load(const SettingsRecord& settings) {
    m_monitorServerCheck->setChecked(settings.monitorServerOn);
    m_monitorPortEdit->setText(QString::number(settings.monitorPort));
    m_monitorAllowEdit->setText(qs(settings.monitorAllow));
    m_onCallCommandEdit->setText(qs(settings.onCallCommand));
}

std::optional<std::int16_t> CallSharingGroup::enteredPort() const {
    bool ok = false;
    const int port = m_monitorPortEdit->text().trimmed().toInt(&ok);
    if (!ok || port < 1 || port > 32767) {
        return std::nullopt;
    }
    return static_cast<std::int16_t>(port);
}

std::optional<CallSharingGroup::Problem> CallSharingGroup::problem() const {
    if (m_monitorServerCheck->isChecked()) {
        if (!enteredPort()) {
            return Problem{lang_id::kInvalidPort, {}, m_monitorPortEdit};
        }
        QStringList bad;
        const AddressAllowList allowed(m_monitorAllowEdit->text(), &bad);
        if (!bad.isEmpty() || allowed.isEmpty()) {
            return Problem{lang_id::kInvalidMonitorAllow, bad.join(' '), m_monitorAllowEdit};
        }
    }
    if (!splitCommandLine(ss(m_onCallCommandEdit->text()))) {
        return Problem{lang_id::kInvalidOnCallCommand, {}, m_onCallCommandEdit};
    }
    return std::nullopt;
}

void CallSharingGroup::store(SettingsRecord& settings) const {
    settings.monitorServerOn = m_monitorServerCheck->isChecked();
    if (const auto port = enteredPort()) {
        settings.monitorPort = *port;
    }
    const QString allowed = m_monitorAllowEdit->text().simplified();
    settings.monitorAllow = allowed.isEmpty() ? kDefaultMonitorAllow : ss(allowed);
    settings.onCallCommand = ss(m_onCallCommandEdit->text().trimmed());
}
