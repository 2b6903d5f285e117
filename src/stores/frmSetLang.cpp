#include "stores/frmSetLang.h"

#include "stores/Settings.h"
#include "stores/cLanguage.h"
#include "support/AppPaths.h"
#include "support/QtText.h"

#include <QComboBox>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

frmSetLang::frmSetLang(QWidget* parent) : QDialog(parent), m_languages(new QComboBox(this)) {
    setObjectName("frmSetLang");
    setWindowTitle("Set Language");
    setWindowIcon(QIcon(qs(AppPath + "res/phoneblack.ico")));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);

    auto* prompt = new QLabel("Please select the language you would like to use", this);
    m_languages->setObjectName("cmbLanguage");
    auto* saveButton = new QPushButton("Save", this);
    saveButton->setObjectName("cmdSave");
    saveButton->setDefault(true);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(prompt);
    layout->addWidget(m_languages);
    layout->addWidget(saveButton, 0, Qt::AlignRight);
    setFixedSize(sizeHint().expandedTo(QSize(320, 0)));

    const QString current = qs(settings().language);
    for (const auto& name : Language().getLanguages()) {
        if (!name.empty()) {
            m_languages->addItem(qs(name));
        }
    }
    // Without a match the last entry stays selected.
    m_languages->setCurrentIndex(m_languages->count() - 1);
    for (int i = 0; i < m_languages->count(); ++i) {
        if (m_languages->itemText(i).compare(current, Qt::CaseInsensitive) == 0) {
            m_languages->setCurrentIndex(i);
        }
    }
    connect(saveButton, &QPushButton::clicked, this, &frmSetLang::save);
}

frmSetLang::~frmSetLang() = default;

void frmSetLang::save() {
    settings().language = ss(m_languages->currentText());
    Language().SetLanguage(settings().language);
    saveSettings();
    accept();
}
