#include "ui/settings/PhonebookPage.h"

#include "stores/LanguageIds.h"
#include "stores/LanguageTable.h"
#include "support/QtText.h"
#include "ui/settings/AddressBookList.h"
#include "ui/settings/PageLayout.h"
#include "ui/settings/PickFile.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

PhonebookPage::PhonebookPage(Phonebook& phonebook, const LanguageTable& language,
                             UserPrompt& prompt, FilePicker& files, const AppPaths& paths,
                             QWidget* parent)
    : EntryListPage(language, prompt, parent), m_phonebook(phonebook), m_files(files),
      m_paths(paths) {
    setObjectName("picCfgPB");
    createControls(language);
}

PhonebookPage::~PhonebookPage() = default;

void PhonebookPage::showAddressBooks(const AddressBookListParts& parts, AddressBooks& books) {
    auto* list = new AddressBookList(parts, books, m_files, this);
    connect(list, &AddressBookList::imported, this, &PhonebookPage::refill);
    if (auto* column = qobject_cast<QVBoxLayout*>(layout())) {
        column->addWidget(list);
    }
}

void PhonebookPage::createControls(const LanguageTable& language) {
    m_numberEdit = named(new QLineEdit(this), "txtNumber");
    m_nameEdit = named(new QLineEdit(this), "txtName");
    createListControls({"lstPB", "cmdAdd", "cmdChange", "cmdDel"},
                       {qs(language.text(lang_id::kNumber)), qs(language.text(lang_id::kName))},
                       m_numberEdit, m_nameEdit, true);
    m_rejectCheck = named(new QCheckBox(this), "chkReject");
    m_soundEdit = named(new QLineEdit(this), "txtSound");
    auto* soundButton = named(new QPushButton(this), "cmdSound", lang_id::kBrowse);
    m_pictureEdit = named(new QLineEdit(this), "txtPicture");
    auto* pictureButton = named(new QPushButton(this), "cmdPic", lang_id::kBrowse);

    addFieldRow("lblNumber", lang_id::kNumber, m_numberEdit);
    addFieldRow("lblName", lang_id::kName, m_nameEdit);
    addFieldRow("lblReject", lang_id::kAutoReject, m_rejectCheck);
    addFieldRow("lblSound", lang_id::kSound, m_soundEdit, soundButton);
    addFieldRow("lblPicture", lang_id::kPicture, m_pictureEdit, pictureButton);
    layOut({m_numberEdit, m_nameEdit, m_rejectCheck, m_soundEdit, soundButton, m_pictureEdit,
            pictureButton});

    connect(soundButton, &QPushButton::clicked, this,
            [this]() { pickFileInto(m_soundEdit, m_files, m_paths, kWaveFilter); });
    connect(pictureButton, &QPushButton::clicked, this,
            [this]() { pickFileInto(m_pictureEdit, m_files, m_paths, kPictureFilter); });
}

int PhonebookPage::entryCount() const {
    return m_phonebook.size();
}

QStringList PhonebookPage::entryAt(int index) const {
    const PhonebookEntry& entry = m_phonebook.entryAt(index);
    return {qs(entry.number), qs(entry.name), entry.reject ? "1" : "0", qs(entry.sound),
            qs(entry.picture)};
}

void PhonebookPage::showEntry(int index) {
    const PhonebookEntry& entry = m_phonebook.entryAt(index);
    m_numberEdit->setText(qs(entry.number));
    m_nameEdit->setText(qs(entry.name));
    m_rejectCheck->setChecked(entry.reject);
    m_soundEdit->setText(qs(entry.sound));
    m_pictureEdit->setText(qs(entry.picture));
}

void PhonebookPage::addFromFields() {
    m_phonebook.add(ss(m_numberEdit->text()), ss(m_nameEdit->text()), m_rejectCheck->isChecked(),
                    ss(m_soundEdit->text()), ss(m_pictureEdit->text()));
}

void PhonebookPage::replaceFromFields(int index) {
    m_phonebook.replaceAt(index, ss(m_numberEdit->text()), ss(m_nameEdit->text()),
                          m_rejectCheck->isChecked(), ss(m_soundEdit->text()),
                          ss(m_pictureEdit->text()));
}

void PhonebookPage::removeByKey(const std::string& key) {
    m_phonebook.remove(key);
}
