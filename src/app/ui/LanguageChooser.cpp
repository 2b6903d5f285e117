#include "ui/LanguageChooser.h"

#include "calls/AppContext.h"
#include "support/QtText.h"
#include "ui/LanguageList.h"

#include <QComboBox>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

LanguageChooserParts LanguageChooserParts::of(AppContext& context) {
    return {context.paths, context.settings, context, context.language};
}

LanguageChooser::LanguageChooser(const LanguageChooserParts& parts, QWidget* parent)
    : QDialog(parent), m_parts(parts), m_languages(new QComboBox(this)) {
    setObjectName("frmSetLang");
    setWindowTitle("Set Language");
    setWindowIcon(QIcon(qs(parts.paths.dataFile("res/phoneblack.ico"))));
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

    fillLanguageList(m_languages, parts.language, parts.settings.language);
    connect(saveButton, &QPushButton::clicked, this, &LanguageChooser::save);
}

LanguageChooser::~LanguageChooser() = default;

void LanguageChooser::save() {
    m_parts.settings.language = ss(m_languages->currentText());
    m_parts.language.select(m_parts.settings.language);
    m_parts.settingsStorage.saveSettings();
    accept();
}
