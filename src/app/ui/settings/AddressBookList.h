#pragma once

#include <QWidget>

struct AppContext;
class AddressBooks;
class FilePicker;
class LanguageTable;
class Phonebook;
class QPushButton;
class QTreeWidget;
class SettingsStorage;
struct SettingsRecord;

/// What the address book list changes: the address book settings, saved at once, and the
/// phonebook that contacts are imported into.
struct AddressBookListParts {
    SettingsRecord& settings;
    SettingsStorage& settingsStorage;
    const LanguageTable& language;
    Phonebook& phonebook;

    static AddressBookListParts of(AppContext& context);
};

/// The address books on the phonebook page: each source with the contacts it read and its
/// last error; add a file, add a CardDAV address, remove, refresh now, and import chosen
/// contacts into the phonebook. Changes to the list are saved at once, as the lists above.
class AddressBookList : public QWidget {
    Q_OBJECT
public:
    AddressBookList(const AddressBookListParts& parts, AddressBooks& books, FilePicker& files,
                    QWidget* parent = nullptr);

    /// Adds a CardDAV address book (what the CardDAV button does after its questions).
    void addCardDav(const QString& url, const QString& user, const QString& password);
    void addFile(const QString& path);

signals:
    /// Contacts were copied into the phonebook.
    void imported();

private:
    void refill();
    void apply();
    void askForCardDav();
    void removeSelected();
    void importFromSelected();
    int selectedSource() const;
    QString text(int number) const;

    AddressBookListParts m_parts;
    AddressBooks& m_books;
    FilePicker& m_files;
    QTreeWidget* m_list = nullptr;
};
