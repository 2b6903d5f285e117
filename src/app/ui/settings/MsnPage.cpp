#include "ui/settings/MsnPage.h"

#include "stores/LanguageIds.h"
#include "support/QtText.h"
#include "ui/settings/PageLayout.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <tuple>

namespace {

bool sameEntry(const MsnEntry& a, const MsnEntry& b) {
    return std::tie(a.msn, a.name, a.reject, a.rejectWithheld) ==
           std::tie(b.msn, b.name, b.reject, b.rejectWithheld);
}

} // namespace

MsnPage::MsnPage(MsnList& msnList, const LanguageTable& language, UserPrompt& prompt,
                 QWidget* parent)
    : EntryListPage(language, prompt, parent), m_msnList(msnList) {
    setObjectName("picCfgMSN");
    createControls();
}

MsnPage::~MsnPage() = default;

void MsnPage::createControls() {
    m_txtMSNMSN = named(new QLineEdit(this), "txtMSNMSN");
    m_txtMSNName = named(new QLineEdit(this), "txtMSNName");
    // The MSN list does not select a changed entry again.
    createListControls({"lstMSN", "cmdMSNAdd", "cmdMSNChange", "cmdMSNDel"}, {"MSN", "Name"},
                       m_txtMSNMSN, m_txtMSNName, false);
    m_chkMSNReject = named(new QCheckBox(this), "chkMSNReject");
    m_chkMSNRejectAnon = named(new QCheckBox(this), "chkMSNRejectAnon");

    auto* fields = new QFormLayout;
    const auto addRow = [this, fields](const char* labelName, int languageId, QWidget* field) {
        auto* label = named(new QLabel(this), labelName, languageId);
        label->setBuddy(field);
        label->setWordWrap(true);
        fields->addRow(label, field);
    };
    addRow("Label3", lang_id::kMsn, m_txtMSNMSN);
    addRow("Label2", lang_id::kName, m_txtMSNName);
    addRow("Label1", lang_id::kAutoReject, m_chkMSNReject);
    addRow("Label4", lang_id::kRejectAnonymous, m_chkMSNRejectAnon);

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
    chainTabOrder({list(), m_txtMSNMSN, m_txtMSNName, m_chkMSNReject, m_chkMSNRejectAnon,
                   addButton(), changeButton(), removeButton()});
}

int MsnPage::entryCount() const {
    return m_msnList.size();
}

QStringList MsnPage::rowAt(int index) const {
    const MsnEntry& entry = m_msnList.entryAt(index);
    return {qs(entry.msn), qs(entry.name)};
}

void MsnPage::showEntry(int index) {
    const MsnEntry& entry = m_msnList.entryAt(index);
    m_txtMSNMSN->setText(qs(entry.msn));
    m_txtMSNName->setText(qs(entry.name));
    m_chkMSNReject->setChecked(entry.reject);
    m_chkMSNRejectAnon->setChecked(entry.rejectWithheld);
    m_shownEntry = entry;
}

bool MsnPage::isShownEntryAt(int index) const {
    return m_shownEntry && sameEntry(m_msnList.entryAt(index), *m_shownEntry);
}

void MsnPage::addFromFields() {
    m_msnList.add(ss(m_txtMSNMSN->text()), ss(m_txtMSNName->text()), m_chkMSNReject->isChecked(),
                  m_chkMSNRejectAnon->isChecked());
}

void MsnPage::replaceFromFields(int index) {
    m_msnList.replaceAt(index, ss(m_txtMSNMSN->text()), ss(m_txtMSNName->text()),
                        m_chkMSNReject->isChecked(), m_chkMSNRejectAnon->isChecked());
}

void MsnPage::removeByKey(const std::string& key) {
    m_msnList.remove(key);
}
