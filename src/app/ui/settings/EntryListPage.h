#pragma once

#include <QStringList>
#include <QWidget>

#include <initializer_list>
#include <optional>
#include <string>

class LanguageTable;
class QGridLayout;
class QLineEdit;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;
class UserPrompt;

/// A settings page that edits one of the stores' lists at once: the list of entries in the
/// store's order, fields that a click on an entry fills, and the buttons add, change and
/// remove. The store sorts and saves itself after every change.
class EntryListPage : public QWidget {
    Q_OBJECT
public:
    ~EntryListPage() override;

    /// Fills the list anew from the store.
    void refill();

protected:
    /// The controls every list page has, with their design names.
    struct ControlNames {
        const char* list;
        const char* add;
        const char* change;
        const char* remove;
    };

    EntryListPage(const LanguageTable& language, UserPrompt& prompt, QWidget* parent);

    /// Creates the list with its two column headings and the three buttons. keyField holds the
    /// number that add checks and remove looks for; after a change the changed entry is
    /// selected again when reselect is set.
    void createListControls(const ControlNames& names, const QStringList& headings,
                            QLineEdit* keyField, QLineEdit* nameField, bool reselect);
    /// Adds a labelled field below the list, with a button beside it when given.
    void addFieldRow(const char* labelName, int languageId, QWidget* field,
                     QWidget* button = nullptr);
    /// Lays the page out: the list, the field rows, the buttons; the keyboard order follows the
    /// fields given.
    void layOut(std::initializer_list<QWidget*> fieldsInOrder);
    QTreeWidget* list() const { return m_list; }
    QPushButton* addButton() const { return m_add; }
    QPushButton* changeButton() const { return m_change; }
    QPushButton* removeButton() const { return m_remove; }

    virtual int entryCount() const = 0;
    /// Every field of the entry at index (from 1) as text: the key, the name, then the rest.
    virtual QStringList entryAt(int index) const = 0;
    /// Fills the fields from the entry at index.
    virtual void showEntry(int index) = 0;
    virtual void addFromFields() = 0;
    virtual void replaceFromFields(int index) = 0;
    virtual void removeByKey(const std::string& key) = 0;

private:
    void onEntryClicked(QTreeWidgetItem* item);
    void add();
    void change();
    void remove();
    void selectRow(const QStringList& row);
    void tell(int languageId);

    const LanguageTable& m_language;
    UserPrompt& m_prompt;
    QTreeWidget* m_list = nullptr;
    QGridLayout* m_fields = nullptr;
    QPushButton* m_add = nullptr;
    QPushButton* m_change = nullptr;
    QPushButton* m_remove = nullptr;
    QLineEdit* m_keyField = nullptr;
    QLineEdit* m_nameField = nullptr;
    bool m_reselect = false;
    /// The position of the entry last clicked, until it is changed or removed, and the entry
    /// as it was then.
    std::optional<int> m_clickedIndex;
    QStringList m_clickedEntry;
};
