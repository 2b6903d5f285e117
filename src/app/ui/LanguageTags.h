#pragma once

class LanguageTable;
class QAction;
class QMenu;
class QObject;

/// A control whose caption comes from the language tables carries the string's number as its
/// tag; applyLanguageTags gives every tagged control below root that string as its caption.
void setLanguageTag(QObject* control, int languageId);
/// The tag of a control; 0 when it has none.
int languageTag(const QObject* control);
void applyLanguageTags(QObject* root, const LanguageTable& language);
/// A menu entry named objectName whose caption is language string languageId.
QAction* addTaggedAction(QMenu* menu, const char* objectName, int languageId);
