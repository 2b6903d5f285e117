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
    m_txtMSNMSN = named(new QLineEdit(this), "txtMSNMSN");
    m_txtMSNName = named(new QLineEdit(this), "txtMSNName");
    // The MSN list does not select a changed entry again.
    createListControls({"lstMSN", "cmdMSNAdd", "cmdMSNChange", "cmdMSNDel"}, {"MSN", "Name"},
                       m_txtMSNMSN, m_txtMSNName, false);
    m_chkMSNReject = named(new QCheckBox(this), "chkMSNReject");
    m_chkMSNRejectAnon = named(new QCheckBox(this), "chkMSNRejectAnon");

    addFieldRow("Label3", lang_id::kMsn, m_txtMSNMSN);
    addFieldRow("Label2", lang_id::kName, m_txtMSNName);
    addFieldRow("Label1", lang_id::kAutoReject, m_chkMSNReject);
    addFieldRow("Label4", lang_id::kRejectAnonymous, m_chkMSNRejectAnon);
    layOut({m_txtMSNMSN, m_txtMSNName, m_chkMSNReject, m_chkMSNRejectAnon});
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
    m_txtMSNMSN->setText(qs(entry.msn));
    m_txtMSNName->setText(qs(entry.name));
    m_chkMSNReject->setChecked(entry.reject);
    m_chkMSNRejectAnon->setChecked(entry.rejectWithheld);
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
