#pragma once

#include <QWidget>

class AppPaths;
class FilePicker;
class QCheckBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class SoundPolicy;
struct SettingsRecord;

/// The settings page of what a call does: which calls show, the pop-up, the notification
/// icon's blinking and the call sound.
class CallPage : public QWidget {
    Q_OBJECT
public:
    CallPage(FilePicker& files, SoundPolicy& sound, const AppPaths& paths,
             QWidget* parent = nullptr);
    ~CallPage() override;

    void load(const SettingsRecord& settings);
    void store(SettingsRecord& settings) const;

private:
    void createControls();
    void enableSoundFile(bool on);

    FilePicker& m_files;
    SoundPolicy& m_sound;
    const AppPaths& m_paths;

    QRadioButton* m_optAllCalls = nullptr;
    QRadioButton* m_optAllCallsNo = nullptr;
    QCheckBox* m_chkRejectAnonymous = nullptr;
    QRadioButton* m_optNoPopUp = nullptr;
    QRadioButton* m_optPopUpSmall = nullptr;
    QRadioButton* m_optPopUp = nullptr;
    QCheckBox* m_chkMin = nullptr;
    QRadioButton* m_optTrayNormal = nullptr;
    QRadioButton* m_optTrayBlink = nullptr;
    QCheckBox* m_chkTrayRedBlink = nullptr;
    QCheckBox* m_chkPlayWave = nullptr;
    QLineEdit* m_txtWaveFile = nullptr;
    QPushButton* m_cmdCommonDlg = nullptr;
};
