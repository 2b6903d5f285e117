#include "ui/settings/AddressBookList.h"

#include "calls/AppContext.h"
#include "contacts/AddressBooks.h"
#include "contacts/NumberForm.h"
#include "stores/LanguageIds.h"
#include "support/QtText.h"
#include "ui/FilePicker.h"
#include "ui/settings/PageLayout.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

constexpr const char* kAddressBookFilter = "(*.vcf *.vcard *.xml)";

} // namespace

AddressBookListParts AddressBookListParts::of(AppContext& context) {
    return {context.settings, context, context.language, context.phonebook};
}

AddressBookList::AddressBookList(const AddressBookListParts& parts, AddressBooks& books,
                                 FilePicker& files, QWidget* parent)
    : QWidget(parent), m_parts(parts), m_books(books), m_files(files) {
    setObjectName("fraAddressBooks");
    auto* heading = named(new QLabel(text(lang_id::kAddressBooks), this), "lblAddressBooks");
    m_list = named(new QTreeWidget(this), "lstAddressBooks");
    m_list->setRootIsDecorated(false);
    m_list->setHeaderLabels({text(lang_id::kAddressBookSource), text(lang_id::kAddressBookContacts),
                             text(lang_id::kAddressBookLastError)});
    auto* addFileButton =
        named(new QPushButton(text(lang_id::kAddressBookAddFile), this), "cmdAddressBookFile");
    auto* addCardDavButton = named(new QPushButton(text(lang_id::kAddressBookAddCardDav), this),
                                   "cmdAddressBookCardDav");
    auto* removeButton =
        named(new QPushButton(text(lang_id::kRemove), this), "cmdAddressBookRemove");
    auto* refreshButton =
        named(new QPushButton(text(lang_id::kAddressBookRefresh), this), "cmdAddressBookRefresh");
    auto* importButton =
        named(new QPushButton(text(lang_id::kAddressBookImport), this), "cmdAddressBookImport");
    auto* buttons = new QHBoxLayout;
    for (QPushButton* button :
         {addFileButton, addCardDavButton, removeButton, refreshButton, importButton}) {
        buttons->addWidget(button);
    }
    buttons->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(heading);
    layout->addWidget(m_list);
    layout->addLayout(buttons);
    // Room for four sources; the phonebook's list above takes the rest.
    m_list->setFixedHeight(m_list->fontMetrics().height() * 6);
    m_list->setColumnWidth(0, m_list->fontMetrics().averageCharWidth() * 36);
    m_list->setColumnWidth(1, m_list->fontMetrics().averageCharWidth() * 14);

    connect(addFileButton, &QPushButton::clicked, this, [this]() {
        if (const auto path = m_files.openFile(this, kAddressBookFilter, {})) {
            addFile(qs(*path));
        }
    });
    connect(addCardDavButton, &QPushButton::clicked, this, &AddressBookList::askForCardDav);
    connect(removeButton, &QPushButton::clicked, this, &AddressBookList::removeSelected);
    connect(refreshButton, &QPushButton::clicked, &m_books, &AddressBooks::refreshAll);
    connect(importButton, &QPushButton::clicked, this, &AddressBookList::importFromSelected);
    connect(&m_books, &AddressBooks::sourcesChanged, this, &AddressBookList::refill);
    refill();
}

QString AddressBookList::text(int number) const {
    return qs(m_parts.language.text(number));
}

void AddressBookList::refill() {
    const int selected = selectedSource();
    m_list->clear();
    for (std::size_t i = 0; i < m_books.sourceCount(); ++i) {
        const AddressBookSource& source = m_books.source(i);
        const int count = source.contactCount();
        m_list->addTopLevelItem(
            new QTreeWidgetItem({m_books.label(i), count < 0 ? QString() : QString::number(count),
                                 source.lastError()}));
    }
    if (selected >= 0 && selected < m_list->topLevelItemCount()) {
        m_list->setCurrentItem(m_list->topLevelItem(selected));
    }
}

int AddressBookList::selectedSource() const {
    QTreeWidgetItem* item = m_list->currentItem();
    return item == nullptr ? -1 : m_list->indexOfTopLevelItem(item);
}

void AddressBookList::apply() {
    m_parts.settingsStorage.saveSettings();
    m_books.configure(m_parts.settings.addressBooks, m_parts.settings.ownCountryPrefix);
}

void AddressBookList::addFile(const QString& path) {
    m_parts.settings.addressBooks.push_back({ss(path), {}, {}});
    apply();
}

void AddressBookList::addCardDav(const QString& url, const QString& user, const QString& password) {
    m_parts.settings.addressBooks.push_back({ss(url), ss(user), ss(password)});
    apply();
}

void AddressBookList::askForCardDav() {
    QDialog dialog(this);
    dialog.setObjectName("frmCardDav");
    dialog.setWindowTitle(text(lang_id::kAddressBookAddCardDav));
    auto* url = named(new QLineEdit(&dialog), "txtCardDavUrl");
    url->setPlaceholderText("https://");
    auto* user = named(new QLineEdit(&dialog), "txtCardDavUser");
    auto* password = named(new QLineEdit(&dialog), "txtCardDavPassword");
    password->setEchoMode(QLineEdit::Password);
    auto* form = new QFormLayout(&dialog);
    form->addRow(text(lang_id::kAddressBookAddress), url);
    form->addRow(text(lang_id::kAddressBookUser), user);
    form->addRow(text(lang_id::kAddressBookPassword), password);
    auto* box = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    form->addRow(box);
    connect(box, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    connect(box, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    url->setMinimumWidth(320);
    if (dialog.exec() == QDialog::Accepted && url->text().trimmed().startsWith("http")) {
        addCardDav(url->text().trimmed(), user->text(), password->text());
    }
}

void AddressBookList::removeSelected() {
    const int index = selectedSource();
    auto& books = m_parts.settings.addressBooks;
    if (index < 0 || index >= static_cast<int>(books.size())) {
        return;
    }
    books.erase(books.begin() + index);
    apply();
}

void AddressBookList::importFromSelected() {
    const int index = selectedSource();
    if (index < 0) {
        return;
    }
    const auto& contacts = m_books.contactsOf(static_cast<std::size_t>(index));
    QDialog dialog(this);
    dialog.setObjectName("frmImportContacts");
    dialog.setWindowTitle(text(lang_id::kAddressBookChooseContacts));
    auto* list = named(new QListWidget(&dialog), "lstContacts");
    for (const Contact& contact : contacts) {
        for (const std::string& number : contact.numbers) {
            auto* item = new QListWidgetItem(qs(contact.name) + "\t" + qs(number), list);
            item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
            item->setCheckState(Qt::Unchecked);
            item->setData(Qt::UserRole,
                          QStringList{qs(contact.name), qs(number), qs(contact.picturePath)});
        }
    }
    auto* box = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(list);
    layout->addWidget(box);
    connect(box, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    connect(box, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    dialog.resize(420, 360);
    if (dialog.exec() != QDialog::Accepted) {
        return;
    }
    for (int row = 0; row < list->count(); ++row) {
        const QListWidgetItem* item = list->item(row);
        if (item->checkState() == Qt::Checked) {
            const QStringList fields = item->data(Qt::UserRole).toStringList();
            m_parts.phonebook.add(
                lineFormOfNumber(ss(fields[1]), m_parts.settings.ownCountryPrefix), ss(fields[0]),
                false, "", ss(fields[2]));
        }
    }
    emit imported();
}
