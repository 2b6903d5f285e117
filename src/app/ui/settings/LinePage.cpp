#include "ui/settings/LinePage.h"

#include "line/CallMonitorProtocol.h"
#include "stores/LanguageIds.h"
#include "stores/Settings.h"
#include "support/QtText.h"
#include "ui/settings/CallSharingGroup.h"
#include "ui/settings/PageLayout.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QStyle>
#include <QVBoxLayout>

namespace {

bool isCallMonitor(const std::string& line) {
    return line.starts_with(callmonitor::kLinePrefix);
}

QLabel* wrappedLabel(QWidget* parent, const char* name, int languageId) {
    auto* label = named(new QLabel(parent), name, languageId);
    label->setWordWrap(true);
    return label;
}

// A path can be longer than the page is wide: a read-only box scrolls it.
QLineEdit* readOnlyBox(QWidget* parent, const char* name) {
    auto* box = named(new QLineEdit(parent), name);
    box->setReadOnly(true);
    return box;
}

} // namespace

LinePage::LinePage(const std::string& lineFromCommandLine, QWidget* parent) : QWidget(parent) {
    setObjectName("picCfgLine");
    createControls(lineFromCommandLine);
}

LinePage::~LinePage() = default;

void LinePage::createControls(const std::string& lineFromCommandLine) {
    auto* kind = named(new QGroupBox(this), "FrameLine", lang_id::kLineGroup);
    m_capiOption = named(new QRadioButton(kind), "optLineCapi", lang_id::kLineCapi);
    // The library or scenario of a CAPI-kind setting, which OK keeps.
    m_capiEdit = readOnlyBox(kind, "txtLineCapi");
    m_callMonitorOption =
        named(new QRadioButton(kind), "optLineCallMonitor", lang_id::kLineCallMonitor);
    m_hostLabel = named(new QLabel(kind), "lblLineHost", lang_id::kLineHost);
    m_hostEdit = named(new QLineEdit(kind), "txtLineHost");
    m_hostLabel->setBuddy(m_hostEdit);

    // The details stand under their option's text, not under its button.
    const int indent = style()->pixelMetric(QStyle::PM_ExclusiveIndicatorWidth) +
                       style()->pixelMetric(QStyle::PM_RadioButtonLabelSpacing);
    auto* choices = new QGridLayout(kind);
    choices->setColumnMinimumWidth(0, indent);
    choices->setColumnStretch(2, 1);
    choices->addWidget(m_capiOption, 0, 0, 1, 3);
    choices->addWidget(m_capiEdit, 1, 1, 1, 2);
    choices->addWidget(m_callMonitorOption, 2, 0, 1, 3);
    choices->addWidget(m_hostLabel, 3, 1);
    choices->addWidget(m_hostEdit, 3, 2);

    auto* restartLabel = wrappedLabel(this, "lblLineRestart", lang_id::kLineAtNextStart);
    auto* inUseLabel = wrappedLabel(this, "lblLineInUse", lang_id::kLineFromCommandLine);
    auto* inUseEdit = readOnlyBox(this, "txtLineInUse");
    inUseEdit->setText(qs(lineFromCommandLine));
    inUseLabel->setVisible(!lineFromCommandLine.empty());
    inUseEdit->setVisible(!lineFromCommandLine.empty());

    m_sharing = new CallSharingGroup(this);
    QVBoxLayout* layout =
        stackControls(this, {kind, restartLabel, inUseLabel, inUseEdit, m_sharing});
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addStretch();

    chainTabOrder({m_capiOption, m_capiEdit, m_callMonitorOption, m_hostEdit, inUseEdit});
    enableHost(false);
    connect(m_callMonitorOption, &QRadioButton::toggled, this, &LinePage::enableHost);
}

void LinePage::enableHost(bool on) {
    m_hostLabel->setEnabled(on);
    m_hostEdit->setEnabled(on);
}

void LinePage::load(const SettingsRecord& settings) {
    const std::string& line = settings.line;
    const bool callMonitor = isCallMonitor(line);
    (callMonitor ? m_callMonitorOption : m_capiOption)->setChecked(true);
    m_hostEdit->setText(callMonitor ? qs(line.substr(callmonitor::kLinePrefix.size())) : QString());
    const bool namesItsCapi = !callMonitor && !line.empty() && line != "capi";
    m_capiEdit->setText(namesItsCapi ? qs(line) : QString());
    m_capiEdit->setVisible(namesItsCapi);
    m_sharing->load(settings);
}

bool LinePage::hasValidHost() const {
    return !m_callMonitorOption->isChecked() ||
           callmonitor::parseEndpoint(ss(m_hostEdit->text().trimmed())).has_value();
}

void LinePage::store(SettingsRecord& settings) const {
    if (m_callMonitorOption->isChecked()) {
        settings.line = std::string(callmonitor::kLinePrefix) + ss(m_hostEdit->text().trimmed());
    } else if (isCallMonitor(settings.line)) {
        settings.line = "capi";
    }
    m_sharing->store(settings);
}

void LinePage::focusHost() {
    m_hostEdit->setFocus(Qt::OtherFocusReason);
    m_hostEdit->selectAll();
}
