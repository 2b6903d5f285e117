#pragma once

#include <QDialog>

struct AppContext;
class AppPaths;
class LanguageTable;
class QComboBox;
class SettingsStorage;
struct SettingsRecord;

/// What the language chooser changes: the language setting, saved at once, and the texts.
struct LanguageChooserParts {
    const AppPaths& paths;
    SettingsRecord& settings;
    SettingsStorage& settingsStorage;
    LanguageTable& language;

    static LanguageChooserParts of(AppContext& context);
};

/// The first-run language chooser: picks a language file, saves the choice and loads it.
class LanguageChooser : public QDialog {
    Q_OBJECT
public:
    explicit LanguageChooser(const LanguageChooserParts& parts, QWidget* parent = nullptr);
    ~LanguageChooser() override;

private:
    void save();

    LanguageChooserParts m_parts;
    QComboBox* m_languages;
};
