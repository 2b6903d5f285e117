#include "ui/settings/PageLayout.h"

#include <QVBoxLayout>
#include <QWidget>

QVBoxLayout* stackControls(QWidget* container, std::initializer_list<QWidget*> controls) {
    auto* layout = new QVBoxLayout(container);
    for (QWidget* control : controls) {
        layout->addWidget(control);
    }
    return layout;
}

void chainTabOrder(const QList<QWidget*>& controls) {
    QWidget* previous = nullptr;
    for (QWidget* control : controls) {
        if (previous != nullptr) {
            QWidget::setTabOrder(previous, control);
        }
        previous = control;
    }
}
