#include "../contacts/RadicaleServer.h"
#include "ProgramRunner.h"

#include "stores/LanguageIds.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QTest>

class AddressBookTest : public QObject {
    Q_OBJECT
private:
    // The address book's copy that the program keeps for starts without network.
    static QStringList keptCopies(const ProgramRunner& runner) {
        return QDir(runner.configDir()).entryList({"addressbook-*.xml"}, QDir::Files);
    }

private slots:
    // A contact stored as +49 30 1234567 on a CardDAV server names a call from 030 1234567;
    // with the server gone, the kept copy still does.
    void cardDavContactNamesTheCallerAlsoWithoutTheServer() {
        if (!RadicaleServer::isInstalled()) {
            QSKIP("radicale is not installed");
        }
        RadicaleServer server;
        QVERIFY2(server.start(), qPrintable(server.log()));
        QVERIFY(server.createAddressBook());
        QVERIFY(server.putCard("erika.vcf", "BEGIN:VCARD\r\nVERSION:3.0\r\nUID:erika\r\n"
                                            "FN:Erika Mustermann\r\nN:Mustermann;Erika;;;\r\n"
                                            "TEL;TYPE=HOME:+49 30 1234567\r\nEND:VCARD\r\n"));
        QVERIFY(server.putCard("hans.vcf",
                               "BEGIN:VCARD\r\nVERSION:4.0\r\nUID:hans\r\n"
                               "FN:Hans Meier\r\nTEL:0049 89 7654321\r\nEND:VCARD\r\n"));

        ProgramRunner runner;
        runner.writeConfig({"addressbook1=" + server.addressBookUrl(),
                            QString("addressbook1user=") + RadicaleServer::kUser,
                            QString("addressbook1password=") + RadicaleServer::kPassword});
        QProcess* first = runner.start({"--headless", runner.scenario("wait 60\n")});
        const QDeadlineTimer deadline(20000);
        while (keptCopies(runner).isEmpty() && !deadline.hasExpired()) {
            QTest::qWait(50);
        }
        QCOMPARE(keptCopies(runner).size(), 1);
        QCOMPARE(ProgramRunner::stop(first), 0);
        server.stop();

        QProcess* second =
            runner.start({"--headless", runner.scenario("wait 0.3\n"
                                                        "call plci=0x101 called=4711 "
                                                        "calling=301234567\n"
                                                        "wait 0.2\nhangup plci=0x101\n")});
        QVERIFY2(runner.waitForTranscript("-> CAPI_DISCONNECT - CAPI_RESP"),
                 qPrintable(second->readAllStandardError()));
        QCOMPARE(ProgramRunner::stop(second), 0);
        const CallJournal journal = runner.journal();
        QCOMPARE(journal.size(), 1);
        QCOMPARE(journal.recordAt(1).number, std::string("0301234567"));
        QCOMPARE(journal.recordAt(1).name, std::string("Erika Mustermann"));
        // The server being away is logged, the phonebook file is left alone.
        QVERIFY2(runner.log().contains(ProgramRunner::english(lang_id::kAddressBookNoAnswer)),
                 qPrintable(runner.log()));
        QVERIFY(QFileInfo(runner.configDir() + "nn.dat").size() <= 2);
    }
};

QTEST_GUILESS_MAIN(AddressBookTest)
#include "AddressBookTest.moc"
