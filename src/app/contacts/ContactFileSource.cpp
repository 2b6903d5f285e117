#include "contacts/ContactFileSource.h"

#include "contacts/RouterPhonebookReader.h"
#include "contacts/VCardReader.h"
#include "stores/LanguageIds.h"
#include "stores/LanguageTable.h"
#include "support/QtText.h"

#include <QFile>
#include <QFileInfo>

ContactFileSource::ContactFileSource(QString path, const LanguageTable& language, QObject* parent)
    : AddressBookSource(parent), m_path(std::move(path)), m_language(language) {
    m_settle.setSingleShot(true);
    m_settle.setInterval(300);
    connect(&m_settle, &QTimer::timeout, this, &ContactFileSource::refresh);
    connect(&m_watcher, &QFileSystemWatcher::fileChanged, this, [this]() { m_settle.start(); });
    // A file replaced by rename leaves the watch on the old one; the folder tells of the new.
    connect(&m_watcher, &QFileSystemWatcher::directoryChanged, this, [this]() {
        if (!m_watcher.files().contains(m_path) && QFileInfo::exists(m_path)) {
            m_settle.start();
        }
    });
    watch();
}

void ContactFileSource::watch() {
    if (!m_watcher.files().contains(m_path) && QFileInfo::exists(m_path)) {
        m_watcher.addPath(m_path);
    }
    const QString folder = QFileInfo(m_path).absolutePath();
    if (!m_watcher.directories().contains(folder) && QFileInfo::exists(folder)) {
        m_watcher.addPath(folder);
    }
}

ContactsRead ContactFileSource::readContactFile(std::string_view bytes) {
    const std::size_t start = bytes.find_first_not_of(" \t\r\n\xEF\xBB\xBF");
    if (start != std::string_view::npos && bytes[start] == '<') {
        return readRouterPhonebook(bytes);
    }
    return readVCards(bytes);
}

void ContactFileSource::refresh() {
    watch();
    QFile file(m_path);
    if (!file.open(QIODevice::ReadOnly)) {
        fail(qs(m_language.text(lang_id::kAddressBookUnreadable)) + " " + file.errorString());
        return;
    }
    const QByteArray bytes = file.readAll();
    ContactsRead read = readContactFile(std::string_view(bytes.constData(), bytes.size()));
    if (read.contacts.empty() && !read.problems.empty()) {
        fail(qs(m_language.text(lang_id::kAddressBookNotReadable)) + " " +
             qs(read.problems.front()));
        return;
    }
    deliver(read);
}
