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
    m_optLineCapi = named(new QRadioButton(kind), "optLineCapi", lang_id::kLineCapi);
    // The library or scenario of a CAPI-kind setting, which OK keeps.
    m_txtLineCapi = readOnlyBox(kind, "txtLineCapi");
    m_optLineCallMonitor =
        named(new QRadioButton(kind), "optLineCallMonitor", lang_id::kLineCallMonitor);
    m_lblLineHost = named(new QLabel(kind), "lblLineHost", lang_id::kLineHost);
    m_txtLineHost = named(new QLineEdit(kind), "txtLineHost");
    m_lblLineHost->setBuddy(m_txtLineHost);

    // The details stand under their option's text, not under its button.
    const int indent = style()->pixelMetric(QStyle::PM_ExclusiveIndicatorWidth) +
                       style()->pixelMetric(QStyle::PM_RadioButtonLabelSpacing);
    auto* choices = new QGridLayout(kind);
    choices->setColumnMinimumWidth(0, indent);
    choices->setColumnStretch(2, 1);
    choices->addWidget(m_optLineCapi, 0, 0, 1, 3);
    choices->addWidget(m_txtLineCapi, 1, 1, 1, 2);
    choices->addWidget(m_optLineCallMonitor, 2, 0, 1, 3);
    choices->addWidget(m_lblLineHost, 3, 1);
    choices->addWidget(m_txtLineHost, 3, 2);

    auto* lblLineRestart = wrappedLabel(this, "lblLineRestart", lang_id::kLineAtNextStart);
    auto* lblLineInUse = wrappedLabel(this, "lblLineInUse", lang_id::kLineFromCommandLine);
    auto* txtLineInUse = readOnlyBox(this, "txtLineInUse");
    txtLineInUse->setText(qs(lineFromCommandLine));
    lblLineInUse->setVisible(!lineFromCommandLine.empty());
    txtLineInUse->setVisible(!lineFromCommandLine.empty());

    m_sharing = new CallSharingGroup(this);
    QVBoxLayout* layout =
        stackControls(this, {kind, lblLineRestart, lblLineInUse, txtLineInUse, m_sharing});
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addStretch();

    chainTabOrder(
        {m_optLineCapi, m_txtLineCapi, m_optLineCallMonitor, m_txtLineHost, txtLineInUse});
    enableHost(false);
    connect(m_optLineCallMonitor, &QRadioButton::toggled, this, &LinePage::enableHost);
}

void LinePage::enableHost(bool on) {
    m_lblLineHost->setEnabled(on);
    m_txtLineHost->setEnabled(on);
}

void LinePage::load(const SettingsRecord& settings) {
    const std::string& line = settings.line;
    const bool callMonitor = isCallMonitor(line);
    (callMonitor ? m_optLineCallMonitor : m_optLineCapi)->setChecked(true);
    m_txtLineHost->setText(callMonitor ? qs(line.substr(callmonitor::kLinePrefix.size()))
                                       : QString());
    const bool namesItsCapi = !callMonitor && !line.empty() && line != "capi";
    m_txtLineCapi->setText(namesItsCapi ? qs(line) : QString());
    m_txtLineCapi->setVisible(namesItsCapi);
    m_sharing->load(settings);
}

bool LinePage::hasValidHost() const {
    return !m_optLineCallMonitor->isChecked() ||
           callmonitor::parseEndpoint(ss(m_txtLineHost->text().trimmed())).has_value();
}

void LinePage::store(SettingsRecord& settings) const {
    if (m_optLineCallMonitor->isChecked()) {
        settings.line = std::string(callmonitor::kLinePrefix) + ss(m_txtLineHost->text().trimmed());
    } else if (isCallMonitor(settings.line)) {
        settings.line = "capi";
    }
    m_sharing->store(settings);
}

void LinePage::focusHost() {
    m_txtLineHost->setFocus(Qt::OtherFocusReason);
    m_txtLineHost->selectAll();
}
