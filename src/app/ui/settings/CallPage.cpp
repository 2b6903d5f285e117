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
    m_optAllCalls = named(new QRadioButton(signalling), "optAllCalls", lang_id::kShowAllCalls);
    m_optAllCallsNo =
        named(new QRadioButton(signalling), "optAllCallsNo", lang_id::kShowListedMsnOnly);
    m_chkRejectAnonymous =
        named(new QCheckBox(signalling), "chkRejectAnonymous", lang_id::kRejectAnonymous);
    stackControls(signalling, {m_optAllCalls, m_optAllCallsNo, m_chkRejectAnonymous});

    auto* popUp = named(new QGroupBox(this), "Frame2", lang_id::kPopUpGroup);
    m_optNoPopUp = named(new QRadioButton(popUp), "optNoPopUp", lang_id::kNoPopUp);
    m_optPopUpSmall = named(new QRadioButton(popUp), "optPopUpSmall", lang_id::kPopUpSmall);
    m_optPopUp = named(new QRadioButton(popUp), "optPopUp", lang_id::kPopUpJournal);
    m_chkMin = named(new QCheckBox(popUp), "chkMin", lang_id::kMinimizeAfterCall);
    stackControls(popUp, {m_optNoPopUp, m_optPopUpSmall, m_optPopUp, m_chkMin});

    auto* tray = named(new QGroupBox(this), "Frame1", lang_id::kTrayIconGroup);
    m_optTrayNormal = named(new QRadioButton(tray), "optTrayNormal", lang_id::kTrayNormal);
    m_optTrayBlink = named(new QRadioButton(tray), "optTrayBlink", lang_id::kTrayBlinkGreen);
    m_chkTrayRedBlink = named(new QCheckBox(tray), "chkTrayRedBlink", lang_id::kTrayBlinkRed);
    stackControls(tray, {m_optTrayNormal, m_optTrayBlink, m_chkTrayRedBlink});

    m_chkPlayWave = named(new QCheckBox(this), "chkPlayWave", lang_id::kPlaySoundOnCall);
    m_txtWaveFile = named(new QLineEdit(this), "txtWaveFile");
    m_cmdCommonDlg = named(new QPushButton(this), "cmdCommonDlg", lang_id::kBrowse);
    auto* cmdTestSound = named(new QPushButton(this), "cmdTestSound", lang_id::kTestSound);
    auto* soundRow = new QHBoxLayout;
    soundRow->addWidget(m_txtWaveFile, 1);
    soundRow->addWidget(m_cmdCommonDlg);
    soundRow->addWidget(cmdTestSound);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(signalling);
    layout->addWidget(popUp);
    layout->addWidget(tray);
    layout->addWidget(m_chkPlayWave);
    layout->addLayout(soundRow);
    layout->addStretch();

    connect(m_chkPlayWave, &QCheckBox::toggled, this, &CallPage::enableSoundFile);
    connect(m_optNoPopUp, &QRadioButton::toggled, this,
            [this](bool noPopUp) { m_chkMin->setEnabled(!noPopUp); });
    connect(m_cmdCommonDlg, &QPushButton::clicked, this,
            [this]() { pickFileInto(m_txtWaveFile, m_files, m_paths, kWaveFilter); });
    connect(cmdTestSound, &QPushButton::clicked, this,
            [this]() { m_sound.playWave(ss(m_txtWaveFile->text())); });
}

void CallPage::enableSoundFile(bool on) {
    m_cmdCommonDlg->setEnabled(on);
    m_txtWaveFile->setEnabled(on);
}

void CallPage::load(const SettingsRecord& settings) {
    m_chkPlayWave->setChecked(settings.playCallSound);
    m_txtWaveFile->setText(qs(settings.callSound));
    enableSoundFile(settings.playCallSound);
    if (settings.showJournalOnCall) {
        m_optPopUp->setChecked(true);
    } else if (settings.showPopupOnCall) {
        m_optPopUpSmall->setChecked(true);
    } else {
        m_optNoPopUp->setChecked(true);
    }
    m_chkMin->setEnabled(!m_optNoPopUp->isChecked());
    m_chkMin->setChecked(settings.minimizeAfterCall);
    (settings.blinkWhileRinging ? m_optTrayBlink : m_optTrayNormal)->setChecked(true);
    m_chkTrayRedBlink->setChecked(settings.blinkAfterMissedCall);
    m_chkRejectAnonymous->setChecked(settings.rejectWithheld);
    (settings.showAllCalls ? m_optAllCalls : m_optAllCallsNo)->setChecked(true);
}

void CallPage::store(SettingsRecord& settings) const {
    settings.playCallSound = m_chkPlayWave->isChecked();
    settings.callSound = ss(m_txtWaveFile->text());
    settings.showJournalOnCall = m_optPopUp->isChecked();
    settings.showPopupOnCall = !m_optPopUp->isChecked() && m_optPopUpSmall->isChecked();
    settings.minimizeAfterCall = m_chkMin->isChecked();
    settings.blinkWhileRinging = !m_optTrayNormal->isChecked();
    settings.blinkAfterMissedCall = m_chkTrayRedBlink->isChecked();
    settings.rejectWithheld = m_chkRejectAnonymous->isChecked();
    settings.showAllCalls = m_optAllCalls->isChecked();
}
