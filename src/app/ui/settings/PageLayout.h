#pragma once

#include "ui/LanguageTags.h"

#include <QList>

#include <initializer_list>

class QVBoxLayout;
class QWidget;

/// Gives a new control its design name and, when it has one, the number of its caption in the
/// language tables.
template <typename Control> Control* named(Control* control, const char* name, int languageId = 0) {
    control->setObjectName(name);
    if (languageId != 0) {
        setLanguageTag(control, languageId);
    }
    return control;
}

/// Lays the controls out in the container from top to bottom.
QVBoxLayout* stackControls(QWidget* container, std::initializer_list<QWidget*> controls);

/// Sets the keyboard focus order of the controls to the order given.
void chainTabOrder(const QList<QWidget*>& controls);
