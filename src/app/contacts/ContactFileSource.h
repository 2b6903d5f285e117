#pragma once

#include "contacts/AddressBookSource.h"

#include <QFileSystemWatcher>
#include <QTimer>

class LanguageTable;

/// A vCard file or a router's phonebook export, read again whenever it changes on disk.
class ContactFileSource : public AddressBookSource {
    Q_OBJECT
public:
    ContactFileSource(QString path, const LanguageTable& language, QObject* parent = nullptr);

    void refresh() override;

    /// The file's bytes as contacts: router phonebook XML or vCard, told by the content.
    static ContactsRead readContactFile(std::string_view bytes);

private:
    void watch();

    QString m_path;
    const LanguageTable& m_language;
    QFileSystemWatcher m_watcher;
    QTimer m_settle; // editors write a file in steps: read it once they are done
};
