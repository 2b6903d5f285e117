#pragma once

#include <QWidget>

#include <string>

class LanguageTable;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QRadioButton;
class UserPrompt;
struct SettingsRecord;

/// The settings page of everything else: country prefix, telephone system, exit, feedback
/// sounds, start delay, autostart, style and language.
class MiscPage : public QWidget {
    Q_OBJECT
public:
    /// The number of entries in the start delay list; entry n stands for (n + 1) * 30 seconds.
    static constexpr int kDelaySteps = 11;

    MiscPage(const LanguageTable& language, UserPrompt& prompt, QWidget* parent = nullptr);
    ~MiscPage() override;

    void load(const SettingsRecord& settings);
    void store(SettingsRecord& settings) const;
    /// The language chosen in the list.
    std::string chosenLanguage() const;

private:
    void createControls();
    void checkPrefix(const QString& text);

    const LanguageTable& m_language;
    UserPrompt& m_prompt;

    QLineEdit* m_txtPrefix = nullptr;
    QCheckBox* m_chkTKRemoveNull = nullptr;
    QCheckBox* m_chkTKAddNull = nullptr;
    QCheckBox* m_chkAppExit = nullptr;
    QCheckBox* m_chkAudioFeedback = nullptr;
    QCheckBox* m_chkCAPIDelay = nullptr;
    QComboBox* m_cmbDelayTime = nullptr;
    QCheckBox* m_chkAutostart = nullptr;
    QCheckBox* m_chkQuietExit = nullptr;
    QRadioButton* m_optStyleRufwacht = nullptr;
    QRadioButton* m_optStyleDefault = nullptr;
    QComboBox* m_cmbLanguage = nullptr;
    QComboBox* m_cmbNotify = nullptr;
    // An unset choice shows what the desktop gets; OK keeps it unset unless the user changed it.
    bool m_notifyUnset = true;
    int m_notifyShownIndex = -1;
};
