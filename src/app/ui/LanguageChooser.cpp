#include "ui/LanguageChooser.h"

#include "calls/AppContext.h"
#include "support/QtText.h"

#include <QComboBox>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

LanguageChooser::LanguageChooser(AppContext& context, QWidget* parent)
    : QDialog(parent), m_context(context), m_languages(new QComboBox(this)) {
    setObjectName("frmSetLang");
    setWindowTitle("Set Language");
    setWindowIcon(QIcon(qs(context.paths.programFile("res/phoneblack.ico"))));
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

    const QString current = qs(context.settings.language);
    for (const auto& name : context.language.languages()) {
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
    connect(saveButton, &QPushButton::clicked, this, &LanguageChooser::save);
}

LanguageChooser::~LanguageChooser() = default;

void LanguageChooser::save() {
    m_context.settings.language = ss(m_languages->currentText());
    m_context.language.select(m_context.settings.language);
    m_context.saveSettings();
    accept();
}
