#include "ui/LanguageTags.h"

#include "stores/LanguageTable.h"
#include "support/QtText.h"

#include <QAbstractButton>
#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QVariant>

namespace {

constexpr const char* kTagProperty = "languageTag";

void applyCaption(QObject* control, const QString& caption) {
    if (auto* button = qobject_cast<QAbstractButton*>(control)) {
        button->setText(caption);
    } else if (auto* label = qobject_cast<QLabel*>(control)) {
        label->setText(caption);
    } else if (auto* group = qobject_cast<QGroupBox*>(control)) {
        group->setTitle(caption);
    } else if (auto* action = qobject_cast<QAction*>(control)) {
        action->setText(caption);
    } else if (auto* menu = qobject_cast<QMenu*>(control)) {
        menu->setTitle(caption);
    } else if (auto* widget = qobject_cast<QWidget*>(control); widget && widget->isWindow()) {
        widget->setWindowTitle(caption);
    }
}

} // namespace

void setLanguageTag(QObject* control, int languageId) {
    control->setProperty(kTagProperty, languageId);
}

int languageTag(const QObject* control) {
    return control->property(kTagProperty).toInt();
}

void applyLanguageTags(QObject* root, const LanguageTable& language) {
    QList<QObject*> controls = root->findChildren<QObject*>();
    controls.prepend(root);
    for (QObject* control : controls) {
        if (const int id = languageTag(control); id != 0) {
            applyCaption(control, qs(language.text(id)));
        }
    }
}

QAction* addTaggedAction(QMenu* menu, const char* objectName, int languageId) {
    QAction* action = menu->addAction(QString());
    action->setObjectName(objectName);
    setLanguageTag(action, languageId);
    return action;
}
