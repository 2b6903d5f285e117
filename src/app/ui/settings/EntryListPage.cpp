#include "ui/settings/EntryListPage.h"

#include "stores/LanguageIds.h"
#include "stores/LanguageTable.h"
#include "support/QtText.h"
#include "support/UserPrompt.h"
#include "ui/settings/NumberRule.h"
#include "ui/settings/PageLayout.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTreeWidget>
#include <QVBoxLayout>

EntryListPage::EntryListPage(const LanguageTable& language, UserPrompt& prompt, QWidget* parent)
    : QWidget(parent), m_language(language), m_prompt(prompt) {}

EntryListPage::~EntryListPage() = default;

void EntryListPage::createListControls(const ControlNames& names, const QStringList& headings,
                                       QLineEdit* keyField, QLineEdit* nameField, bool reselect) {
    m_keyField = keyField;
    m_nameField = nameField;
    m_reselect = reselect;

    m_list = named(new QTreeWidget(this), names.list);
    m_list->setColumnCount(2);
    m_list->setHeaderLabels(headings);
    m_list->setRootIsDecorated(false);
    m_list->setUniformRowHeights(true);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->header()->setStretchLastSection(true);
    m_list->header()->setSectionsMovable(false);

    m_add = named(new QPushButton(this), names.add, lang_id::kAdd);
    m_change = named(new QPushButton(this), names.change, lang_id::kChange);
    m_remove = named(new QPushButton(this), names.remove, lang_id::kRemove);

    connect(m_list, &QTreeWidget::itemClicked, this, &EntryListPage::onEntryClicked);
    connect(m_list, &QTreeWidget::currentItemChanged, this, &EntryListPage::onEntryClicked);
    connect(m_add, &QPushButton::clicked, this, &EntryListPage::add);
    connect(m_change, &QPushButton::clicked, this, &EntryListPage::change);
    connect(m_remove, &QPushButton::clicked, this, &EntryListPage::remove);
}

void EntryListPage::addFieldRow(const char* labelName, int languageId, QWidget* field,
                                QWidget* button) {
    if (m_fields == nullptr) {
        m_fields = new QGridLayout;
        m_fields->setColumnStretch(1, 1);
    }
    const int row = m_fields->rowCount();
    auto* label = named(new QLabel(this), labelName, languageId);
    label->setBuddy(field);
    label->setWordWrap(true);
    m_fields->addWidget(label, row, 0);
    m_fields->addWidget(field, row, 1, 1, button != nullptr ? 1 : 2);
    if (button != nullptr) {
        m_fields->addWidget(button, row, 2);
    }
}

void EntryListPage::layOut(std::initializer_list<QWidget*> fieldsInOrder) {
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_add);
    buttons->addWidget(m_change);
    buttons->addWidget(m_remove);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_list, 1);
    layout->addLayout(m_fields);
    layout->addLayout(buttons);

    QList<QWidget*> order = {m_list};
    order.append(fieldsInOrder);
    order << m_add << m_change << m_remove;
    chainTabOrder(order);
}

void EntryListPage::refill() {
    const QSignalBlocker quiet(m_list);
    m_list->clear();
    const int count = entryCount();
    for (int index = 1; index <= count; ++index) {
        m_list->addTopLevelItem(new QTreeWidgetItem(entryAt(index).mid(0, 2)));
    }
    m_list->resizeColumnToContents(0);
}

void EntryListPage::onEntryClicked(QTreeWidgetItem* item) {
    if (item == nullptr) {
        return;
    }
    const int index = m_list->indexOfTopLevelItem(item) + 1;
    if (index >= 1 && index <= entryCount()) {
        showEntry(index);
        m_clickedIndex = index;
        m_clickedEntry = entryAt(index);
    }
}

void EntryListPage::tell(int languageId) {
    m_prompt.message(m_language.text(languageId), "", PromptIcon::Information);
}

void EntryListPage::add() {
    if (!isAcceptableNumber(ss(m_keyField->text()))) {
        tell(lang_id::kInvalidNumber);
        return;
    }
    addFromFields();
    refill();
}

void EntryListPage::change() {
    if (!m_clickedIndex) {
        return;
    }
    const int index = *m_clickedIndex;
    m_clickedIndex.reset();
    // A call may have added an entry while the dialog was open, which moves the others.
    if (index > entryCount() || entryAt(index) != m_clickedEntry) {
        refill();
        tell(lang_id::kListChanged);
        return;
    }
    replaceFromFields(index);
    refill();
    if (m_reselect) {
        selectRow({m_keyField->text(), m_nameField->text()});
    }
}

void EntryListPage::remove() {
    const std::string key = ss(m_keyField->text());
    if (key.empty()) {
        tell(lang_id::kRemoveNeedsNumber);
        return;
    }
    removeByKey(key);
    m_clickedIndex.reset();
    refill();
}

void EntryListPage::selectRow(const QStringList& row) {
    for (int i = 0; i < m_list->topLevelItemCount(); ++i) {
        QTreeWidgetItem* item = m_list->topLevelItem(i);
        if (item->text(0) == row.value(0) && item->text(1) == row.value(1)) {
            const QSignalBlocker quiet(m_list);
            m_list->setCurrentItem(item);
            return;
        }
    }
}
