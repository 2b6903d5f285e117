#include "ui/settings/PhonebookPage.h"

#include "stores/LanguageIds.h"
#include "stores/LanguageTable.h"
#include "support/QtText.h"
#include "ui/settings/PageLayout.h"
#include "ui/settings/PickFile.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <tuple>

namespace {

bool sameEntry(const PhonebookEntry& a, const PhonebookEntry& b) {
    return std::tie(a.number, a.name, a.reject, a.sound, a.picture) ==
           std::tie(b.number, b.name, b.reject, b.sound, b.picture);
}

} // namespace

PhonebookPage::PhonebookPage(Phonebook& phonebook, const LanguageTable& language,
                             UserPrompt& prompt, FilePicker& files, const AppPaths& paths,
                             QWidget* parent)
    : EntryListPage(language, prompt, parent), m_phonebook(phonebook), m_files(files),
      m_paths(paths) {
    setObjectName("picCfgPB");
    createControls(language);
}

PhonebookPage::~PhonebookPage() = default;

void PhonebookPage::createControls(const LanguageTable& language) {
    m_txtNumber = named(new QLineEdit(this), "txtNumber");
    m_txtName = named(new QLineEdit(this), "txtName");
    createListControls({"lstPB", "cmdAdd", "cmdChange", "cmdDel"},
                       {qs(language.text(lang_id::kNumber)), qs(language.text(lang_id::kName))},
                       m_txtNumber, m_txtName, true);
    m_chkReject = named(new QCheckBox(this), "chkReject");
    m_txtSound = named(new QLineEdit(this), "txtSound");
    auto* cmdSound = named(new QPushButton(this), "cmdSound", lang_id::kBrowse);
    m_txtPicture = named(new QLineEdit(this), "txtPicture");
    auto* cmdPic = named(new QPushButton(this), "cmdPic", lang_id::kBrowse);

    auto* fields = new QGridLayout;
    const auto addRow = [this, fields](const char* labelName, int languageId, QWidget* field,
                                       QWidget* button = nullptr) {
        const int row = fields->rowCount();
        auto* label = named(new QLabel(this), labelName, languageId);
        label->setBuddy(field);
        fields->addWidget(label, row, 0);
        fields->addWidget(field, row, 1, 1, button != nullptr ? 1 : 2);
        if (button != nullptr) {
            fields->addWidget(button, row, 2);
        }
    };
    addRow("lblNumber", lang_id::kNumber, m_txtNumber);
    addRow("lblName", lang_id::kName, m_txtName);
    addRow("lblReject", lang_id::kAutoReject, m_chkReject);
    addRow("lblSound", lang_id::kSound, m_txtSound, cmdSound);
    addRow("lblPicture", lang_id::kPicture, m_txtPicture, cmdPic);
    fields->setColumnStretch(1, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(addButton());
    buttons->addWidget(changeButton());
    buttons->addWidget(removeButton());

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(list(), 1);
    layout->addLayout(fields);
    layout->addLayout(buttons);
    chainTabOrder({list(), m_txtNumber, m_txtName, m_chkReject, m_txtSound, cmdSound, m_txtPicture,
                   cmdPic, addButton(), changeButton(), removeButton()});

    connect(cmdSound, &QPushButton::clicked, this,
            [this]() { pickFileInto(m_txtSound, m_files, m_paths, kWaveFilter); });
    connect(cmdPic, &QPushButton::clicked, this,
            [this]() { pickFileInto(m_txtPicture, m_files, m_paths, kPictureFilter); });
}

int PhonebookPage::entryCount() const {
    return m_phonebook.size();
}

QStringList PhonebookPage::rowAt(int index) const {
    const PhonebookEntry& entry = m_phonebook.entryAt(index);
    return {qs(entry.number), qs(entry.name)};
}

void PhonebookPage::showEntry(int index) {
    const PhonebookEntry& entry = m_phonebook.entryAt(index);
    m_txtNumber->setText(qs(entry.number));
    m_txtName->setText(qs(entry.name));
    m_chkReject->setChecked(entry.reject);
    m_txtSound->setText(qs(entry.sound));
    m_txtPicture->setText(qs(entry.picture));
    m_shownEntry = entry;
}

bool PhonebookPage::isShownEntryAt(int index) const {
    return m_shownEntry && sameEntry(m_phonebook.entryAt(index), *m_shownEntry);
}

void PhonebookPage::addFromFields() {
    m_phonebook.add(ss(m_txtNumber->text()), ss(m_txtName->text()), m_chkReject->isChecked(),
                    ss(m_txtSound->text()), ss(m_txtPicture->text()));
}

void PhonebookPage::replaceFromFields(int index) {
    m_phonebook.replaceAt(index, ss(m_txtNumber->text()), ss(m_txtName->text()),
                          m_chkReject->isChecked(), ss(m_txtSound->text()),
                          ss(m_txtPicture->text()));
}

void PhonebookPage::removeByKey(const std::string& key) {
    m_phonebook.remove(key);
}
