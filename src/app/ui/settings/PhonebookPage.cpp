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

    addFieldRow("lblNumber", lang_id::kNumber, m_txtNumber);
    addFieldRow("lblName", lang_id::kName, m_txtName);
    addFieldRow("lblReject", lang_id::kAutoReject, m_chkReject);
    addFieldRow("lblSound", lang_id::kSound, m_txtSound, cmdSound);
    addFieldRow("lblPicture", lang_id::kPicture, m_txtPicture, cmdPic);
    layOut({m_txtNumber, m_txtName, m_chkReject, m_txtSound, cmdSound, m_txtPicture, cmdPic});

    connect(cmdSound, &QPushButton::clicked, this,
            [this]() { pickFileInto(m_txtSound, m_files, m_paths, kWaveFilter); });
    connect(cmdPic, &QPushButton::clicked, this,
            [this]() { pickFileInto(m_txtPicture, m_files, m_paths, kPictureFilter); });
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
    m_txtNumber->setText(qs(entry.number));
    m_txtName->setText(qs(entry.name));
    m_chkReject->setChecked(entry.reject);
    m_txtSound->setText(qs(entry.sound));
    m_txtPicture->setText(qs(entry.picture));
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
