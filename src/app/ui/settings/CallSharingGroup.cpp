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
    m_chkMonitorServer =
        named(new QCheckBox(this), "chkMonitorServer", lang_id::kMonitorServerEnable);
    auto* lblPort = named(new QLabel("Port", this), "lblMonitorPort");
    m_txtMonitorPort = named(new QLineEdit(this), "txtMonitorPort");
    auto* lblAllow = named(new QLabel(this), "lblMonitorAllow", lang_id::kMonitorAllow);
    m_txtMonitorAllow = named(new QLineEdit(this), "txtMonitorAllow");
    auto* lblRestart = named(new QLabel(this), "lblMonitorRestart", lang_id::kMonitorAtNextStart);
    lblRestart->setWordWrap(true);
    auto* lblOnCall = named(new QLabel(this), "lblOnCall", lang_id::kOnCallCommand);
    m_txtOnCall = named(new QLineEdit(this), "txtOnCall");
    lblPort->setBuddy(m_txtMonitorPort);
    lblAllow->setBuddy(m_txtMonitorAllow);
    lblOnCall->setBuddy(m_txtOnCall);

    auto* layout = new QGridLayout(this);
    layout->addWidget(m_chkMonitorServer, 0, 0, 1, 2);
    layout->addWidget(lblPort, 1, 0);
    layout->addWidget(m_txtMonitorPort, 1, 1);
    layout->addWidget(lblAllow, 2, 0);
    layout->addWidget(m_txtMonitorAllow, 2, 1);
    layout->addWidget(lblRestart, 3, 0, 1, 2);
    layout->addWidget(lblOnCall, 4, 0);
    layout->addWidget(m_txtOnCall, 4, 1);
    layout->setColumnStretch(1, 1);

    chainTabOrder({m_chkMonitorServer, m_txtMonitorPort, m_txtMonitorAllow, m_txtOnCall});
    enableServerFields(false);
    connect(m_chkMonitorServer, &QCheckBox::toggled, this, &CallSharingGroup::enableServerFields);
}

CallSharingGroup::~CallSharingGroup() = default;

void CallSharingGroup::enableServerFields(bool on) {
    m_txtMonitorPort->setEnabled(on);
    m_txtMonitorAllow->setEnabled(on);
}

void CallSharingGroup::load(const SettingsRecord& settings) {
    m_chkMonitorServer->setChecked(settings.monitorServerOn);
    m_txtMonitorPort->setText(QString::number(settings.monitorPort));
    m_txtMonitorAllow->setText(qs(settings.monitorAllow));
    m_txtOnCall->setText(qs(settings.onCallCommand));
}

std::optional<std::int16_t> CallSharingGroup::enteredPort() const {
    bool ok = false;
    const int port = m_txtMonitorPort->text().trimmed().toInt(&ok);
    if (!ok || port < 1 || port > 32767) {
        return std::nullopt;
    }
    return static_cast<std::int16_t>(port);
}

std::optional<CallSharingGroup::Problem> CallSharingGroup::problem() const {
    if (m_chkMonitorServer->isChecked()) {
        if (!enteredPort()) {
            return Problem{lang_id::kInvalidPort, {}, m_txtMonitorPort};
        }
        QStringList bad;
        const AddressAllowList allowed(m_txtMonitorAllow->text(), &bad);
        if (!bad.isEmpty() || allowed.isEmpty()) {
            return Problem{lang_id::kInvalidMonitorAllow, bad.join(' '), m_txtMonitorAllow};
        }
    }
    if (!splitCommandLine(ss(m_txtOnCall->text()))) {
        return Problem{lang_id::kInvalidOnCallCommand, {}, m_txtOnCall};
    }
    return std::nullopt;
}

void CallSharingGroup::store(SettingsRecord& settings) const {
    settings.monitorServerOn = m_chkMonitorServer->isChecked();
    if (const auto port = enteredPort()) {
        settings.monitorPort = *port;
    }
    const QString allowed = m_txtMonitorAllow->text().simplified();
    settings.monitorAllow = allowed.isEmpty() ? kDefaultMonitorAllow : ss(allowed);
    settings.onCallCommand = ss(m_txtOnCall->text().trimmed());
}
