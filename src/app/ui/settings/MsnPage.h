#pragma once

#include "stores/MsnList.h"
#include "ui/settings/EntryListPage.h"

class QCheckBox;
class QLineEdit;

/// The settings page of the MSN list: the own numbers with name and reject rules.
class MsnPage : public EntryListPage {
    Q_OBJECT
public:
    MsnPage(MsnList& msnList, const LanguageTable& language, UserPrompt& prompt,
            QWidget* parent = nullptr);
    ~MsnPage() override;

protected:
    int entryCount() const override;
    QStringList entryAt(int index) const override;
    void showEntry(int index) override;
    void addFromFields() override;
    void replaceFromFields(int index) override;
    void removeByKey(const std::string& key) override;

private:
    void createControls();

    MsnList& m_msnList;

    QLineEdit* m_msnEdit = nullptr;
    QLineEdit* m_nameEdit = nullptr;
    QCheckBox* m_rejectCheck = nullptr;
    QCheckBox* m_rejectWithheldCheck = nullptr;
};
