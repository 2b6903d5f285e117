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

    QLineEdit* m_countryPrefixEdit = nullptr;
    QCheckBox* m_removeLeadingZeroCheck = nullptr;
    QCheckBox* m_addLeadingZeroCheck = nullptr;
    QCheckBox* m_exitOnCloseCheck = nullptr;
    QCheckBox* m_audioFeedbackCheck = nullptr;
    QCheckBox* m_delayRegistrationCheck = nullptr;
    QComboBox* m_delayTimeCombo = nullptr;
    QCheckBox* m_autostartCheck = nullptr;
    QCheckBox* m_quietExitCheck = nullptr;
    QRadioButton* m_ownStyleOption = nullptr;
    QRadioButton* m_systemStyleOption = nullptr;
    QComboBox* m_languageCombo = nullptr;
    QComboBox* m_notifyCombo = nullptr;
    // An unset choice shows what the desktop gets; OK keeps it unset unless the user changed it.
    bool m_notifyUnset = true;
    int m_notifyShownIndex = -1;
};
