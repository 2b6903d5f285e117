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

    QRadioButton* m_allCallsOption = nullptr;
    QRadioButton* m_listedMsnsOnlyOption = nullptr;
    QCheckBox* m_rejectWithheldCheck = nullptr;
    QRadioButton* m_noPopupOption = nullptr;
    QRadioButton* m_popupOption = nullptr;
    QRadioButton* m_journalOption = nullptr;
    QCheckBox* m_minimizeAfterCallCheck = nullptr;
    QRadioButton* m_trayStillOption = nullptr;
    QRadioButton* m_trayBlinkOption = nullptr;
    QCheckBox* m_redBlinkCheck = nullptr;
    QCheckBox* m_playSoundCheck = nullptr;
    QLineEdit* m_soundFileEdit = nullptr;
    QPushButton* m_browseButton = nullptr;
};
