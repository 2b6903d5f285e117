#pragma once

#include <QDialog>

class QComboBox;

/// The first-run language chooser: picks a language file, saves the choice and loads it.
class frmSetLang : public QDialog {
    Q_OBJECT
public:
    explicit frmSetLang(QWidget* parent = nullptr);
    ~frmSetLang() override;

private:
    void save();

    QComboBox* m_languages;
};
