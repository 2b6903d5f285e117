#include "ui/settings/CallPage.h"

#include "calls/SoundPolicy.h"
#include "stores/LanguageIds.h"
#include "stores/Settings.h"
#include "support/QtText.h"
#include "ui/settings/PageLayout.h"
#include "ui/settings/PickFile.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

CallPage::CallPage(FilePicker& files, SoundPolicy& sound, const AppPaths& paths, QWidget* parent)
    : QWidget(parent), m_files(files), m_sound(sound), m_paths(paths) {
    setObjectName("picCfgCall");
    createControls();
}

CallPage::~CallPage() = default;

void CallPage::createControls() {
    auto* signalling = named(new QGroupBox(this), "Frame7", lang_id::kCallSignallingGroup);
    m_allCallsOption = named(new QRadioButton(signalling), "optAllCalls", lang_id::kShowAllCalls);
    m_listedMsnsOnlyOption =
        named(new QRadioButton(signalling), "optAllCallsNo", lang_id::kShowListedMsnOnly);
    m_rejectWithheldCheck =
        named(new QCheckBox(signalling), "chkRejectAnonymous", lang_id::kRejectAnonymous);
    stackControls(signalling, {m_allCallsOption, m_listedMsnsOnlyOption, m_rejectWithheldCheck});

    auto* popUp = named(new QGroupBox(this), "Frame2", lang_id::kPopUpGroup);
    m_noPopupOption = named(new QRadioButton(popUp), "optNoPopUp", lang_id::kNoPopUp);
    m_popupOption = named(new QRadioButton(popUp), "optPopUpSmall", lang_id::kPopUpSmall);
    m_journalOption = named(new QRadioButton(popUp), "optPopUp", lang_id::kPopUpJournal);
    m_minimizeAfterCallCheck = named(new QCheckBox(popUp), "chkMin", lang_id::kMinimizeAfterCall);
    stackControls(popUp,
                  {m_noPopupOption, m_popupOption, m_journalOption, m_minimizeAfterCallCheck});

    auto* tray = named(new QGroupBox(this), "Frame1", lang_id::kTrayIconGroup);
    m_trayStillOption = named(new QRadioButton(tray), "optTrayNormal", lang_id::kTrayNormal);
    m_trayBlinkOption = named(new QRadioButton(tray), "optTrayBlink", lang_id::kTrayBlinkGreen);
    m_redBlinkCheck = named(new QCheckBox(tray), "chkTrayRedBlink", lang_id::kTrayBlinkRed);
    stackControls(tray, {m_trayStillOption, m_trayBlinkOption, m_redBlinkCheck});

    m_playSoundCheck = named(new QCheckBox(this), "chkPlayWave", lang_id::kPlaySoundOnCall);
    m_soundFileEdit = named(new QLineEdit(this), "txtWaveFile");
    m_browseButton = named(new QPushButton(this), "cmdCommonDlg", lang_id::kBrowse);
    auto* testSoundButton = named(new QPushButton(this), "cmdTestSound", lang_id::kTestSound);
    auto* soundRow = new QHBoxLayout;
    soundRow->addWidget(m_soundFileEdit, 1);
    soundRow->addWidget(m_browseButton);
    soundRow->addWidget(testSoundButton);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(signalling);
    layout->addWidget(popUp);
    layout->addWidget(tray);
    layout->addWidget(m_playSoundCheck);
    layout->addLayout(soundRow);
    layout->addStretch();

    connect(m_playSoundCheck, &QCheckBox::toggled, this, &CallPage::enableSoundFile);
    connect(m_noPopupOption, &QRadioButton::toggled, this,
            [this](bool noPopUp) { m_minimizeAfterCallCheck->setEnabled(!noPopUp); });
    connect(m_browseButton, &QPushButton::clicked, this,
            [this]() { pickFileInto(m_soundFileEdit, m_files, m_paths, kWaveFilter); });
    connect(testSoundButton, &QPushButton::clicked, this,
            [this]() { m_sound.playWave(ss(m_soundFileEdit->text())); });
}

void CallPage::enableSoundFile(bool on) {
    m_browseButton->setEnabled(on);
    m_soundFileEdit->setEnabled(on);
}

void CallPage::load(const SettingsRecord& settings) {
    m_playSoundCheck->setChecked(settings.playCallSound);
    m_soundFileEdit->setText(qs(settings.callSound));
    enableSoundFile(settings.playCallSound);
    if (settings.showJournalOnCall) {
        m_journalOption->setChecked(true);
    } else if (settings.showPopupOnCall) {
        m_popupOption->setChecked(true);
    } else {
        m_noPopupOption->setChecked(true);
    }
    m_minimizeAfterCallCheck->setEnabled(!m_noPopupOption->isChecked());
    m_minimizeAfterCallCheck->setChecked(settings.minimizeAfterCall);
    (settings.blinkWhileRinging ? m_trayBlinkOption : m_trayStillOption)->setChecked(true);
    m_redBlinkCheck->setChecked(settings.blinkAfterMissedCall);
    m_rejectWithheldCheck->setChecked(settings.rejectWithheld);
    (settings.showAllCalls ? m_allCallsOption : m_listedMsnsOnlyOption)->setChecked(true);
}

void CallPage::store(SettingsRecord& settings) const {
    settings.playCallSound = m_playSoundCheck->isChecked();
    settings.callSound = ss(m_soundFileEdit->text());
    settings.showJournalOnCall = m_journalOption->isChecked();
    settings.showPopupOnCall = !m_journalOption->isChecked() && m_popupOption->isChecked();
    settings.minimizeAfterCall = m_minimizeAfterCallCheck->isChecked();
    settings.blinkWhileRinging = !m_trayStillOption->isChecked();
    settings.blinkAfterMissedCall = m_redBlinkCheck->isChecked();
    settings.rejectWithheld = m_rejectWithheldCheck->isChecked();
    settings.showAllCalls = m_allCallsOption->isChecked();
}
