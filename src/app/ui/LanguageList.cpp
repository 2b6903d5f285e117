#include "ui/LanguageList.h"

#include "stores/LanguageTable.h"
#include "support/QtText.h"

#include <QComboBox>

void fillLanguageList(QComboBox* box, const LanguageTable& language, const std::string& current) {
    box->clear();
    for (const auto& name : language.languages()) {
        if (!name.empty()) {
            box->addItem(qs(name));
        }
    }
    const QString wanted = qs(current);
    int selected = box->count() - 1;
    for (int i = 0; i < box->count(); ++i) {
        if (box->itemText(i).compare(wanted, Qt::CaseInsensitive) == 0) {
            selected = i;
            break;
        }
    }
    box->setCurrentIndex(selected);
}
