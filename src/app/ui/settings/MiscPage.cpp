#include "ui/settings/MiscPage.h"

#include "calls/NotifyMode.h"
#include "stores/LanguageIds.h"
#include "stores/LanguageTable.h"
#include "stores/Settings.h"
#include "support/QtText.h"
#include "support/UserPrompt.h"
#include "ui/LanguageList.h"
#include "ui/settings/NumberRule.h"
#include "ui/settings/PageLayout.h"

#include <algorithm>
#include <iterator>

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSystemTrayIcon>
#include <QVBoxLayout>

namespace {

// The entries of the notification choice, in list order.
constexpr NotifyMode kNotifyModes[] = {NotifyMode::Popup, NotifyMode::Desktop, NotifyMode::Both};

} // namespace

MiscPage::MiscPage(const LanguageTable& language, UserPrompt& prompt, QWidget* parent)
    : QWidget(parent), m_language(language), m_prompt(prompt) {
    setObjectName("picCfgMisc");
    createControls();
}

MiscPage::~MiscPage() = default;

void MiscPage::createControls() {
    auto* prefix = named(new QGroupBox(this), "Frame8", lang_id::kCountryPrefix);
    m_countryPrefixEdit = named(new QLineEdit(prefix), "txtPrefix");
    stackControls(prefix, {m_countryPrefixEdit});

    auto* telephoneSystem = named(new QGroupBox(this), "Frame6", lang_id::kTelephoneSystem);
    m_removeLeadingZeroCheck =
        named(new QCheckBox(telephoneSystem), "chkTKRemoveNull", lang_id::kTkRemoveNull);
    m_addLeadingZeroCheck =
        named(new QCheckBox(telephoneSystem), "chkTKAddNull", lang_id::kTkAddNull);
    stackControls(telephoneSystem, {m_removeLeadingZeroCheck, m_addLeadingZeroCheck});

    auto* style = named(new QGroupBox("Style", this), "Frame4");
    m_ownStyleOption = named(new QRadioButton("Rufwacht Style", style), "optStyleRufwacht");
    m_systemStyleOption = named(new QRadioButton("Windows Style", style), "optStyleDefault");
    stackControls(style, {m_ownStyleOption, m_systemStyleOption});

    auto* languageGroup = named(new QGroupBox(this), "Frame3", lang_id::kLanguage);
    m_languageCombo = named(new QComboBox(languageGroup), "cmbLanguage");
    stackControls(languageGroup, {m_languageCombo});

    auto* misc = named(new QGroupBox(this), "Frame5", lang_id::kMiscellaneous);
    m_exitOnCloseCheck = named(new QCheckBox(misc), "chkAppExit", lang_id::kExitOnClose);
    m_audioFeedbackCheck = named(new QCheckBox(misc), "chkAudioFeedback", lang_id::kAudioFeedback);
    m_delayRegistrationCheck = named(new QCheckBox(misc), "chkCAPIDelay", lang_id::kCapiDelay);
    m_delayTimeCombo = named(new QComboBox(misc), "cmbDelayTime");
    for (int step = 0; step < kDelaySteps; ++step) {
        m_delayTimeCombo->addItem(QStringLiteral("%1 sec.").arg((step + 1) * 30));
    }
    auto* delayHintLabel = named(new QLabel(misc), "lblCAPIDelay", lang_id::kCapiDelayHint);
    delayHintLabel->setWordWrap(true);
    m_autostartCheck = named(new QCheckBox(misc), "chkAutostart", lang_id::kAutostart);
    m_quietExitCheck = named(new QCheckBox(misc), "chkQuietExit", lang_id::kQuietExit);
    stackControls(misc, {m_exitOnCloseCheck, m_audioFeedbackCheck, m_delayRegistrationCheck,
                         m_delayTimeCombo, delayHintLabel, m_autostartCheck, m_quietExitCheck})
        ->addStretch();

    auto* notify = named(new QGroupBox(this), "Frame9", lang_id::kNotifyLabel);
    m_notifyCombo = named(new QComboBox(notify), "cmbNotify");
    for (const int id : {lang_id::kNotifyPopup, lang_id::kNotifyDesktop, lang_id::kNotifyBoth}) {
        m_notifyCombo->addItem(qs(m_language.text(id)));
    }
    stackControls(notify, {m_notifyCombo});

    auto* layout = new QGridLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(prefix, 0, 0);
    layout->addWidget(telephoneSystem, 1, 0);
    layout->addWidget(style, 2, 0);
    layout->addWidget(languageGroup, 3, 0);
    layout->addWidget(misc, 0, 1, 4, 1);
    layout->addWidget(notify, 4, 0, 1, 2);
    layout->setRowStretch(5, 1);
    layout->setColumnStretch(1, 1);

    chainTabOrder({m_countryPrefixEdit, m_removeLeadingZeroCheck, m_addLeadingZeroCheck,
                   m_ownStyleOption, m_systemStyleOption, m_languageCombo, m_exitOnCloseCheck,
                   m_audioFeedbackCheck, m_delayRegistrationCheck, m_delayTimeCombo,
                   m_autostartCheck, m_quietExitCheck, m_notifyCombo});
    connect(m_countryPrefixEdit, &QLineEdit::textEdited, this, &MiscPage::checkPrefix);
}

void MiscPage::checkPrefix(const QString& text) {
    if (!isAcceptableNumber(ss(text))) {
        m_prompt.message(m_language.text(lang_id::kInvalidNumber), "", PromptIcon::Information);
    }
}

void MiscPage::load(const SettingsRecord& settings) {
    m_delayRegistrationCheck->setChecked(settings.delayRegistration);
    m_autostartCheck->setChecked(settings.autostart);
    m_quietExitCheck->setChecked(settings.quietExit);
    m_exitOnCloseCheck->setChecked(settings.exitOnClose);
    m_addLeadingZeroCheck->setChecked(settings.addLeadingZero);
    m_removeLeadingZeroCheck->setChecked(settings.removeLeadingZero);
    m_audioFeedbackCheck->setChecked(settings.audioFeedback);
    (settings.style == 0 ? m_ownStyleOption : m_systemStyleOption)->setChecked(true);
    m_countryPrefixEdit->setText(qs(settings.ownCountryPrefix));
    // A step outside the list selects nothing, and OK then keeps the step.
    const int step = settings.registrationDelayStep;
    m_delayTimeCombo->setCurrentIndex(step >= 0 && step < kDelaySteps ? step : -1);
    fillLanguageList(m_languageCombo, m_language, settings.language);
    // Without a choice of the user's the list shows what this desktop gets.
    const NotifyMode mode =
        chooseNotifyMode(settings.notify, QSystemTrayIcon::isSystemTrayAvailable(),
                         QGuiApplication::platformName().startsWith("wayland"));
    m_notifyShownIndex =
        static_cast<int>(std::find(std::begin(kNotifyModes), std::end(kNotifyModes), mode) -
                         std::begin(kNotifyModes));
    m_notifyCombo->setCurrentIndex(m_notifyShownIndex);
    m_notifyUnset = settings.notify.empty();
}

std::string MiscPage::chosenLanguage() const {
    return ss(m_languageCombo->currentText());
}

void MiscPage::store(SettingsRecord& settings) const {
    settings.audioFeedback = m_audioFeedbackCheck->isChecked();
    settings.language = chosenLanguage();
    settings.style = m_ownStyleOption->isChecked() ? 0 : 1;
    settings.delayRegistration = m_delayRegistrationCheck->isChecked();
    settings.autostart = m_autostartCheck->isChecked();
    settings.quietExit = m_quietExitCheck->isChecked();
    settings.exitOnClose = m_exitOnCloseCheck->isChecked();
    settings.addLeadingZero = m_addLeadingZeroCheck->isChecked();
    settings.removeLeadingZero = m_removeLeadingZeroCheck->isChecked();
    if (const int step = m_delayTimeCombo->currentIndex(); step >= 0) {
        settings.registrationDelayStep = static_cast<std::int16_t>(step);
    }
    settings.ownCountryPrefix = ss(m_countryPrefixEdit->text());
    // An unset choice stays unset while the list shows what the desktop chose.
    const int index = m_notifyCombo->currentIndex();
    if (index >= 0 && !(m_notifyUnset && index == m_notifyShownIndex)) {
        settings.notify = notifyModeKey(kNotifyModes[index]);
    }
}
