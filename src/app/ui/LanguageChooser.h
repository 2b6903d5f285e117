#pragma once

#include <QDialog>

struct AppContext;
class QComboBox;

/// The first-run language chooser: picks a language file, saves the choice and loads it.
class LanguageChooser : public QDialog {
    Q_OBJECT
public:
    explicit LanguageChooser(AppContext& context, QWidget* parent = nullptr);
    ~LanguageChooser() override;

private:
    void save();

    AppContext& m_context;
    QComboBox* m_languages;
};
