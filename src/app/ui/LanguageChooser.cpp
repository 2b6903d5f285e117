#include "ui/LanguageChooser.h"

#include "calls/AppContext.h"
#include "support/QtText.h"
#include "ui/LanguageList.h"

#include <QComboBox>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

LanguageChooser::LanguageChooser(AppContext& context, QWidget* parent)
    : QDialog(parent), m_context(context), m_languages(new QComboBox(this)) {
    setObjectName("frmSetLang");
    setWindowTitle("Set Language");
    setWindowIcon(QIcon(qs(context.paths.dataFile("res/phoneblack.ico"))));
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

    fillLanguageList(m_languages, context.language, context.settings.language);
    connect(saveButton, &QPushButton::clicked, this, &LanguageChooser::save);
}

LanguageChooser::~LanguageChooser() = default;

void LanguageChooser::save() {
    m_context.settings.language = ss(m_languages->currentText());
    m_context.language.select(m_context.settings.language);
    m_context.saveSettings();
    accept();
}
