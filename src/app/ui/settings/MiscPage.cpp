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
    m_txtPrefix = named(new QLineEdit(prefix), "txtPrefix");
    stackControls(prefix, {m_txtPrefix});

    auto* telephoneSystem = named(new QGroupBox(this), "Frame6", lang_id::kTelephoneSystem);
    m_chkTKRemoveNull =
        named(new QCheckBox(telephoneSystem), "chkTKRemoveNull", lang_id::kTkRemoveNull);
    m_chkTKAddNull = named(new QCheckBox(telephoneSystem), "chkTKAddNull", lang_id::kTkAddNull);
    stackControls(telephoneSystem, {m_chkTKRemoveNull, m_chkTKAddNull});

    auto* style = named(new QGroupBox("Style", this), "Frame4");
    m_optStyleRufwacht = named(new QRadioButton("Rufwacht Style", style), "optStyleRufwacht");
    m_optStyleDefault = named(new QRadioButton("Windows Style", style), "optStyleDefault");
    stackControls(style, {m_optStyleRufwacht, m_optStyleDefault});

    auto* languageGroup = named(new QGroupBox(this), "Frame3", lang_id::kLanguage);
    m_cmbLanguage = named(new QComboBox(languageGroup), "cmbLanguage");
    stackControls(languageGroup, {m_cmbLanguage});

    auto* misc = named(new QGroupBox(this), "Frame5", lang_id::kMiscellaneous);
    m_chkAppExit = named(new QCheckBox(misc), "chkAppExit", lang_id::kExitOnClose);
    m_chkAudioFeedback = named(new QCheckBox(misc), "chkAudioFeedback", lang_id::kAudioFeedback);
    m_chkCAPIDelay = named(new QCheckBox(misc), "chkCAPIDelay", lang_id::kCapiDelay);
    m_cmbDelayTime = named(new QComboBox(misc), "cmbDelayTime");
    for (int step = 0; step < kDelaySteps; ++step) {
        m_cmbDelayTime->addItem(QStringLiteral("%1 sec.").arg((step + 1) * 30));
    }
    auto* lblCAPIDelay = named(new QLabel(misc), "lblCAPIDelay", lang_id::kCapiDelayHint);
    lblCAPIDelay->setWordWrap(true);
    m_chkAutostart = named(new QCheckBox(misc), "chkAutostart", lang_id::kAutostart);
    m_chkQuietExit = named(new QCheckBox(misc), "chkQuietExit", lang_id::kQuietExit);
    stackControls(misc, {m_chkAppExit, m_chkAudioFeedback, m_chkCAPIDelay, m_cmbDelayTime,
                         lblCAPIDelay, m_chkAutostart, m_chkQuietExit})
        ->addStretch();

    auto* notify = named(new QGroupBox(this), "Frame9", lang_id::kNotifyLabel);
    m_cmbNotify = named(new QComboBox(notify), "cmbNotify");
    for (const int id : {lang_id::kNotifyPopup, lang_id::kNotifyDesktop, lang_id::kNotifyBoth}) {
        m_cmbNotify->addItem(qs(m_language.text(id)));
    }
    stackControls(notify, {m_cmbNotify});

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

    chainTabOrder({m_txtPrefix, m_chkTKRemoveNull, m_chkTKAddNull, m_optStyleRufwacht,
                   m_optStyleDefault, m_cmbLanguage, m_chkAppExit, m_chkAudioFeedback,
                   m_chkCAPIDelay, m_cmbDelayTime, m_chkAutostart, m_chkQuietExit, m_cmbNotify});
    connect(m_txtPrefix, &QLineEdit::textEdited, this, &MiscPage::checkPrefix);
}

void MiscPage::checkPrefix(const QString& text) {
    if (!isAcceptableNumber(ss(text))) {
        m_prompt.message(m_language.text(lang_id::kInvalidNumber), "", PromptIcon::Information);
    }
}

void MiscPage::load(const SettingsRecord& settings) {
    m_chkCAPIDelay->setChecked(settings.delayRegistration);
    m_chkAutostart->setChecked(settings.autostart);
    m_chkQuietExit->setChecked(settings.quietExit);
    m_chkAppExit->setChecked(settings.exitOnClose);
    m_chkTKAddNull->setChecked(settings.addLeadingZero);
    m_chkTKRemoveNull->setChecked(settings.removeLeadingZero);
    m_chkAudioFeedback->setChecked(settings.audioFeedback);
    (settings.style == 0 ? m_optStyleRufwacht : m_optStyleDefault)->setChecked(true);
    m_txtPrefix->setText(qs(settings.ownCountryPrefix));
    // A step outside the list selects nothing, and OK then keeps the step.
    const int step = settings.registrationDelayStep;
    m_cmbDelayTime->setCurrentIndex(step >= 0 && step < kDelaySteps ? step : -1);
    fillLanguageList(m_cmbLanguage, m_language, settings.language);
    // Without a choice of the user's the list shows what this desktop gets.
    const NotifyMode mode =
        chooseNotifyMode(settings.notify, QSystemTrayIcon::isSystemTrayAvailable(),
                         QGuiApplication::platformName().startsWith("wayland"));
    m_notifyShownIndex =
        static_cast<int>(std::find(std::begin(kNotifyModes), std::end(kNotifyModes), mode) -
                         std::begin(kNotifyModes));
    m_cmbNotify->setCurrentIndex(m_notifyShownIndex);
    m_notifyUnset = settings.notify.empty();
}

std::string MiscPage::chosenLanguage() const {
    return ss(m_cmbLanguage->currentText());
}

void MiscPage::store(SettingsRecord& settings) const {
    settings.audioFeedback = m_chkAudioFeedback->isChecked();
    settings.language = chosenLanguage();
    settings.style = m_optStyleRufwacht->isChecked() ? 0 : 1;
    settings.delayRegistration = m_chkCAPIDelay->isChecked();
    settings.autostart = m_chkAutostart->isChecked();
    settings.quietExit = m_chkQuietExit->isChecked();
    settings.exitOnClose = m_chkAppExit->isChecked();
    settings.addLeadingZero = m_chkTKAddNull->isChecked();
    settings.removeLeadingZero = m_chkTKRemoveNull->isChecked();
    if (const int step = m_cmbDelayTime->currentIndex(); step >= 0) {
        settings.registrationDelayStep = static_cast<std::int16_t>(step);
    }
    settings.ownCountryPrefix = ss(m_txtPrefix->text());
    // An unset choice stays unset while the list shows what the desktop chose.
    const int index = m_cmbNotify->currentIndex();
    if (index >= 0 && !(m_notifyUnset && index == m_notifyShownIndex)) {
        settings.notify = notifyModeKey(kNotifyModes[index]);
    }
}
