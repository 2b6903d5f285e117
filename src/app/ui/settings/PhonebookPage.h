#pragma once

#include "stores/Phonebook.h"
#include "ui/settings/EntryListPage.h"

class AddressBooks;
class AppPaths;
struct AddressBookListParts;
class FilePicker;
class QCheckBox;
class QLineEdit;

/// The settings page of the phonebook: numbers with name, reject flag, sound and picture.
class PhonebookPage : public EntryListPage {
    Q_OBJECT
public:
    PhonebookPage(Phonebook& phonebook, const LanguageTable& language, UserPrompt& prompt,
                  FilePicker& files, const AppPaths& paths, QWidget* parent = nullptr);
    ~PhonebookPage() override;

    /// Shows the address books below the phonebook's entries.
    void showAddressBooks(const AddressBookListParts& parts, AddressBooks& books);

protected:
    int entryCount() const override;
    QStringList entryAt(int index) const override;
    void showEntry(int index) override;
    void addFromFields() override;
    void replaceFromFields(int index) override;
    void removeByKey(const std::string& key) override;

private:
    void createControls(const LanguageTable& language);

    Phonebook& m_phonebook;
    FilePicker& m_files;
    const AppPaths& m_paths;

    QLineEdit* m_numberEdit = nullptr;
    QLineEdit* m_nameEdit = nullptr;
    QCheckBox* m_rejectCheck = nullptr;
    QLineEdit* m_soundEdit = nullptr;
    QLineEdit* m_pictureEdit = nullptr;
};
