#include "ui/settings/MsnPage.h"

#include "stores/LanguageIds.h"
#include "support/QtText.h"
#include "ui/settings/PageLayout.h"

#include <QCheckBox>
#include <QLineEdit>

MsnPage::MsnPage(MsnList& msnList, const LanguageTable& language, UserPrompt& prompt,
                 QWidget* parent)
    : EntryListPage(language, prompt, parent), m_msnList(msnList) {
    setObjectName("picCfgMSN");
    createControls();
}

MsnPage::~MsnPage() = default;

void MsnPage::createControls() {
    m_msnEdit = named(new QLineEdit(this), "txtMSNMSN");
    m_nameEdit = named(new QLineEdit(this), "txtMSNName");
    // The MSN list does not select a changed entry again.
    createListControls({"lstMSN", "cmdMSNAdd", "cmdMSNChange", "cmdMSNDel"}, {"MSN", "Name"},
                       m_msnEdit, m_nameEdit, false);
    m_rejectCheck = named(new QCheckBox(this), "chkMSNReject");
    m_rejectWithheldCheck = named(new QCheckBox(this), "chkMSNRejectAnon");

    addFieldRow("Label3", lang_id::kMsn, m_msnEdit);
    addFieldRow("Label2", lang_id::kName, m_nameEdit);
    addFieldRow("Label1", lang_id::kAutoReject, m_rejectCheck);
    addFieldRow("Label4", lang_id::kRejectAnonymous, m_rejectWithheldCheck);
    layOut({m_msnEdit, m_nameEdit, m_rejectCheck, m_rejectWithheldCheck});
}

int MsnPage::entryCount() const {
    return m_msnList.size();
}

QStringList MsnPage::entryAt(int index) const {
    const MsnEntry& entry = m_msnList.entryAt(index);
    return {qs(entry.msn), qs(entry.name), entry.reject ? "1" : "0",
            entry.rejectWithheld ? "1" : "0"};
}

void MsnPage::showEntry(int index) {
    const MsnEntry& entry = m_msnList.entryAt(index);
    m_msnEdit->setText(qs(entry.msn));
    m_nameEdit->setText(qs(entry.name));
    m_rejectCheck->setChecked(entry.reject);
    m_rejectWithheldCheck->setChecked(entry.rejectWithheld);
}

void MsnPage::addFromFields() {
    m_msnList.add(ss(m_msnEdit->text()), ss(m_nameEdit->text()), m_rejectCheck->isChecked(),
                  m_rejectWithheldCheck->isChecked());
}

void MsnPage::replaceFromFields(int index) {
    m_msnList.replaceAt(index, ss(m_msnEdit->text()), ss(m_nameEdit->text()),
                        m_rejectCheck->isChecked(), m_rejectWithheldCheck->isChecked());
}

void MsnPage::removeByKey(const std::string& key) {
    m_msnList.remove(key);
}
