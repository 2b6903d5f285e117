#include "net/TestHttp.h"
#include "support/ScriptedPrompt.h"
#include "ui/UiTestSupport.h"

#include "net/ProgressBar.h"
#include "net/UpdateCheck.h"
#include "net/UpdateWindow.h"
#include "stores/LanguageIds.h"
#include "support/QtText.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <memory>

namespace {

class RecordingOpener : public UrlOpener {
public:
    bool openUrl(const std::string& address) override {
        opened.push_back(address);
        return answer;
    }
    bool answer = true;
    std::vector<std::string> opened;
};

QByteArray sha256Hex(const QByteArray& bytes) {
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex();
}

} // namespace

class UpdateWindowTest : public QObject {
    Q_OBJECT
private slots:
    void init() {
        m_fixture = std::make_unique<UiFixture>();
        m_server = std::make_unique<TestHttpServer>();
        m_fixture->settings().updateUrl = m_server->url("/files").toStdString();
        m_prompt = ScriptedPrompt();
        m_commands = RecordingCommands();
        m_opener = RecordingOpener();
        m_window =
            std::make_unique<UpdateWindow>(UpdateWindowParts::of(m_fixture->context), m_prompt,
                                           m_commands, m_opener, m_fixture->pictures.telBlack);
        m_window->show();
    }
    void cleanup() {
        m_window.reset();
        m_server.reset();
        m_fixture.reset();
    }

    // The running version is 1.0.0; the comparisons themselves are the update check's.
    void checkComparesNumberTriples_data() {
        QTest::addColumn<QByteArray>("versionFile");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<bool>("offered");
        QTest::newRow("same with comment") << QByteArray("1.0.0#comment\r\n") << "1.0.0" << false;
        QTest::newRow("next revision") << QByteArray("1.0.1\r\nrest") << "1.0.1" << true;
        QTest::newRow("no numbers") << QByteArray("latest") << "latest" << false;
    }
    void checkComparesNumberTriples() {
        QFETCH(QByteArray, versionFile);
        QFETCH(QString, shown);
        QFETCH(bool, offered);
        m_server->serve("/files/version.txt", TestHttpServer::ok(versionFile));
        button("cmdCheck")->click();
        QTRY_COMPARE(m_server->heads.size(), 1);
        QTRY_COMPARE(field("txtRemote"), shown);
        QTRY_COMPARE(button("cmdUpdate")->isEnabled(), offered);
        QVERIFY(m_prompt.shown.empty());
    }

    void failedCheckIsReported() {
        m_server->serve("/files/version.txt",
                        "HTTP/1.1 404 Not Found\r\nContent-Length: 0\r\n\r\n");
        button("cmdCheck")->click();
        QTRY_COMPARE(m_prompt.shown.size(), std::size_t(1));
        QCOMPARE(m_prompt.shown[0].icon, PromptIcon::Critical);
        QCOMPARE(m_prompt.shown[0].text,
                 m_fixture->text(lang_id::kUpdateCheckFailed) + "\r\nHTTP 404 Not Found");
        QVERIFY(!button("cmdUpdate")->isEnabled());
    }

    void updateShowsProgressHandsOverAndEnds() {
        const QByteArray setup(1000, 's');
        const QString name = qs(setupPackageFor("1.0.1").remoteName);
        offerVersion("1.0.1 # sha256=" + sha256Hex(setup));
        button("cmdUpdate")->click();
        QTcpSocket* socket = m_server->nextRequest();
        QVERIFY(socket);
        QVERIFY(m_server->heads.last().startsWith("GET /files/" + name.toUtf8() + " HTTP/1.1"));
        QVERIFY(progressBar()->isVisible());
        QVERIFY(m_window->findChild<QLabel*>("lblDownload")->isVisible());
        QCOMPARE(progressBar()->text(), QString());
        socket->write("HTTP/1.1 200 OK\r\nContent-Length: 1000\r\n\r\n");
        for (const char* percent : {"25 %", "50 %", "75 %", "100 %"}) {
            socket->write(setup.left(250));
            QTRY_COMPARE(progressBar()->text(), QString(percent));
        }
        socket->disconnectFromHost();
        QTRY_COMPARE(m_commands.updateExits, 1);
        const QString local = m_window->updateFolder() + qs(setupPackageFor("1.0.1").localName);
        QCOMPARE(m_opener.opened,
                 std::vector<std::string>{ss(QUrl::fromLocalFile(local).toString())});
        QCOMPARE(QFile(local).size(), qint64(1000));
        QVERIFY(!m_window->isVisible());
    }

    void wrongDigestDeletesTheSetup() {
        offerVersion("1.0.1#sha256=" + QByteArray(64, '0'));
        m_server->serve("/files/" + qs(setupPackageFor("1.0.1").remoteName).toUtf8(),
                        TestHttpServer::ok("tampered"));
        button("cmdUpdate")->click();
        QTRY_COMPARE(m_prompt.shown.size(), std::size_t(1));
        QCOMPARE(m_prompt.shown[0].text, m_fixture->text(lang_id::kUpdateDigestMismatch));
        QVERIFY(!QFile::exists(m_window->updateFolder() + qs(setupPackageFor("1.0.1").localName)));
        QVERIFY(m_opener.opened.empty());
        QCOMPARE(m_commands.updateExits, 0);
        // The window says so in place of a full bar.
        QCOMPARE(label("lblDownload"), qs(m_fixture->text(lang_id::kUpdateDigestMismatch)));
        QVERIFY(!progressBar()->isVisible());
    }

    // Without a digest the setup is never opened: the folder is offered instead.
    void aSetupWithoutDigestIsOnlyShownInItsFolder() {
        offerVersion("2.0");
        m_server->serve("/files/" + qs(setupPackageFor("2.0").remoteName).toUtf8(),
                        TestHttpServer::ok("setup"));
        m_prompt.answers = {true};
        button("cmdUpdate")->click();
        QTRY_COMPARE(m_prompt.shown.size(), std::size_t(1));
        QCOMPARE(m_prompt.shown[0].text, m_fixture->text(lang_id::kUpdateWithoutDigest));
        QCOMPARE(m_opener.opened, std::vector<std::string>{ss(
                                      QUrl::fromLocalFile(m_window->updateFolder()).toString())});
        QCOMPARE(m_commands.updateExits, 0);
        QCOMPARE(label("lblDownload"), qs(m_fixture->text(lang_id::kUpdateWithoutDigest)));
    }

    void aMalformedChecksumIsNamedInTheWindow() {
        m_server->serve("/files/version.txt", TestHttpServer::ok("2.0 # sha256=12ab\r\n"));
        button("cmdCheck")->click();
        QTRY_COMPARE(label("lblDownload"), qs(m_fixture->text(lang_id::kUpdateMalformedDigest)));
        QVERIFY(m_window->findChild<QLabel*>("lblDownload")->isVisible());
        QVERIFY(!button("cmdUpdate")->isEnabled());
    }

    void programStaysWhenTheDesktopCannotOpenTheSetup() {
        m_opener.answer = false;
        offerVersion("2.0 # sha256=" + sha256Hex("setup"));
        m_server->serve("/files/" + qs(setupPackageFor("2.0").remoteName).toUtf8(),
                        TestHttpServer::ok("setup"));
        button("cmdUpdate")->click();
        QTRY_COMPARE(m_prompt.shown.size(), std::size_t(1));
        QCOMPARE(
            m_prompt.shown[0].text.substr(0, m_fixture->text(lang_id::kUpdateOpenFailed).size()),
            m_fixture->text(lang_id::kUpdateOpenFailed));
        QCOMPARE(m_opener.opened.size(), std::size_t(1));
        QCOMPARE(m_commands.updateExits, 0);
        QVERIFY(m_window->isVisible());
    }

private:
    void offerVersion(const QByteArray& firstLine) {
        m_server->serve("/files/version.txt", TestHttpServer::ok(firstLine + "\r\n"));
        button("cmdCheck")->click();
        QVERIFY(QTest::qWaitFor([this]() { return button("cmdUpdate")->isEnabled(); }, 5000));
    }
    QString label(const char* name) const { return m_window->findChild<QLabel*>(name)->text(); }
    QString field(const char* name) const { return m_window->findChild<QLineEdit*>(name)->text(); }
    QPushButton* button(const char* name) const { return m_window->findChild<QPushButton*>(name); }
    ProgressBar* progressBar() const { return m_window->findChild<ProgressBar*>("picProgress"); }

    std::unique_ptr<UiFixture> m_fixture;
    std::unique_ptr<TestHttpServer> m_server;
    ScriptedPrompt m_prompt;
    RecordingCommands m_commands;
    RecordingOpener m_opener;
    std::unique_ptr<UpdateWindow> m_window;
};

QTEST_MAIN(UpdateWindowTest)
#include "UpdateWindowTest.moc"
