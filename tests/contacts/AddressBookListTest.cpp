#include "RadicaleServer.h"
#include "net/TestHttp.h"
#include "support/TestContext.h"
#include "ui/SettingsFakes.h"

#include "contacts/AddressBooks.h"
#include "stores/LanguageIds.h"
#include "support/QtText.h"
#include "ui/JournalTableModel.h"
#include "ui/settings/AddressBookList.h"

#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

// The phonebook page's address book list against real and broken servers.
class AddressBookListTest : public QObject {
    Q_OBJECT
private:
    struct Page {
        Page() { QDir().mkpath(QFileInfo(qs(test.context.log.path())).absolutePath()); }

        TestContext test;
        ScriptedFiles files; // always Cancel
        AddressBooks books{{qs(test.context.paths.configDir()), test.context.language,
                            test.context.log, test.context.contacts}};
        AddressBookList list{AddressBookListParts::of(test.context), books, files};

        QString row(int column) const {
            auto* tree = list.findChild<QTreeWidget*>("lstAddressBooks");
            return tree->topLevelItemCount() > 0 ? tree->topLevelItem(0)->text(column) : QString();
        }
        // Adds the address book and waits for the end of its first reading.
        void add(const QString& url, const QString& user, const QString& password) {
            list.addCardDav(url, user, password);
            QSignalSpy ended(&books.source(0), &AddressBookSource::readingEnded);
            QVERIFY(ended.wait(20000));
        }
        int logged(int textId) const {
            return static_cast<int>(
                qs(test.dir.read("logs/rufwacht.log")).count(qs(test.text(textId))));
        }
    };

private slots:
    // A file replaced as editors do (a new file renamed over the old one) is read again; the
    // journal's tooltip names the address book of a name.
    void fileIsReadAgainWhenItChangesAndTheJournalNamesTheSource() {
        Page page;
        const QString path = qs(
            page.test.dir.write("contacts.vcf", "BEGIN:VCARD\r\nFN:Erika\r\nTEL:+49 30 1234567\r\n"
                                                "END:VCARD\r\n"));
        page.list.addFile(path);
        QCOMPARE(page.row(1), QString("1"));
        page.test.dir.write("contacts.vcf.new",
                            "<?xml version=\"1.0\" encoding=\"utf-8\"?><phonebooks><phonebook>"
                            "<contact><person><realName>Hans</realName></person><telephony>"
                            "<number>089 1111111</number></telephony></contact><contact><person>"
                            "<realName>Erika</realName></person><telephony><number>"
                            "030 1234567</number></telephony></contact></phonebook></phonebooks>");
        QVERIFY(QFile::remove(path));
        QVERIFY(QFile::rename(path + ".new", path));
        QTRY_COMPARE_WITH_TIMEOUT(page.row(1), QString("2"), 10000);

        page.test.context.journal.add("0891111111", "Hans", "4711", "07.12.2026", "02:00:00",
                                      "Telephony");
        page.test.context.journal.add("0301111111", "0301111111", "4711", "07.12.2026", "02:01:00",
                                      "Telephony");
        JournalTableModel model(JournalTableParts::of(page.test.context));
        model.refresh();
        const auto cell = [&model](int row, int role) { return model.index(row, 0).data(role); };
        QCOMPARE(cell(0, Qt::DisplayRole).toString(), QString("0301111111"));
        QCOMPARE(cell(0, Qt::ToolTipRole).toString(), QString("0301111111"));
        QCOMPARE(cell(1, Qt::DisplayRole).toString(), QString("Hans"));
        QCOMPARE(cell(1, Qt::ToolTipRole).toString(), "0891111111\n" +
                                                          qs(page.test.text(lang_id::kNameFrom)) +
                                                          " " + page.books.label(0));
    }

    // Only the import writes the phonebook, and only the numbers chosen.
    void importCopiesTheChosenNumbersIntoThePhonebook() {
        Page page;
        page.list.addFile(qs(page.test.dir.write(
            "contacts.vcf", "BEGIN:VCARD\r\nFN:Erika\r\nTEL:+49 30 1234567\r\nTEL;CELL:0171 22\r\n"
                            "END:VCARD\r\nBEGIN:VCARD\r\nFN:Hans\r\nTEL:089 1\r\nEND:VCARD\r\n")));
        QCOMPARE(page.test.context.phonebook.size(), 0);
        auto* tree = page.list.findChild<QTreeWidget*>("lstAddressBooks");
        tree->setCurrentItem(tree->topLevelItem(0));
        QTimer::singleShot(0, &page.list, [&page]() {
            auto* dialog = page.list.findChild<QDialog*>("frmImportContacts");
            auto* contacts = dialog->findChild<QListWidget*>("lstContacts");
            contacts->item(1)->setCheckState(Qt::Checked);
            dialog->accept();
        });
        page.list.findChild<QPushButton*>("cmdAddressBookImport")->click();
        QCOMPARE(page.test.context.phonebook.size(), 1);
        QCOMPARE(page.test.context.phonebook.entryAt(1).number, std::string("017122"));
        QCOMPARE(page.test.context.phonebook.entryAt(1).name, std::string("Erika"));
    }

    void wrongPasswordIsShownAndLoggedOnce() {
        if (!RadicaleServer::isInstalled()) {
            QSKIP("radicale is not installed");
        }
        RadicaleServer server;
        QVERIFY2(server.start(), qPrintable(server.log()));
        QVERIFY(server.createAddressBook());
        Page page;
        page.add(server.addressBookUrl(), RadicaleServer::kUser, "falsch");
        QCOMPARE(page.row(2), qs(page.test.text(lang_id::kAddressBookWrongPassword)));
        QSignalSpy again(&page.books.source(0), &AddressBookSource::readingEnded);
        page.books.refreshAll();
        QVERIFY(again.wait(20000));
        QCOMPARE(page.logged(lang_id::kAddressBookWrongPassword), 1);
        QCOMPARE(page.test.settings().addressBooks.size(), 1U);
        QCOMPARE(page.test.settings().addressBooks[0].password, std::string("falsch"));
    }

    void answersThatAreNoAddressBookAreRefused_data() {
        QTest::addColumn<QByteArray>("answer");
        QTest::addColumn<int>("textId");
        QTest::newRow("login page") << QByteArray("HTTP/1.1 207 Multi-Status\r\nContent-Type: "
                                                  "text/html\r\nContent-Length: 18\r\n\r\n"
                                                  "<html><p>Login</p>")
                                    << int(lang_id::kAddressBookNotReadable);
        QTest::newRow("60 MiB") << QByteArray("HTTP/1.1 207 Multi-Status\r\nContent-Length: "
                                              "62914560\r\n\r\n<multistatus>")
                                << int(lang_id::kAddressBookTooLarge);
    }
    void answersThatAreNoAddressBookAreRefused() {
        QFETCH(QByteArray, answer);
        QFETCH(int, textId);
        TestHttpServer server; // what a misconfigured or hostile address answers
        server.serve("/book/", answer);
        Page page;
        page.add(server.url("/book/"), "", "");
        QVERIFY2(page.row(2).startsWith(qs(page.test.text(textId))), qPrintable(page.row(2)));
        QCOMPARE(page.row(1), QString());
        QCOMPARE(page.test.context.contacts.numberCount(), 0U);
    }
};

QTEST_MAIN(AddressBookListTest)
#include "AddressBookListTest.moc"
