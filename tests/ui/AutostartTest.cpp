#include "support/TempDir.h"

#include "platform/Autostart.h"
#include "support/Log.h"
#include "support/TextFile.h"

#include <QTest>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <regex>
#include <string>

namespace {

constexpr const char* kExecutable = "/opt/rufwacht/rufwacht";

} // namespace

// The Linux entry in a temporary XDG_CONFIG_HOME.
class AutostartTest : public QObject {
    Q_OBJECT
private:
    // What one test changes, gone with it.
    struct Sandbox {
        TempDir dir;
        ScopedEnv configHome{"XDG_CONFIG_HOME", (dir.path() + "config").c_str()};
        std::unique_ptr<Autostart> autostart = makeSystemAutostart();
        Log log{dir.file("rufwacht.log")};
    };
    std::unique_ptr<Sandbox> m_sandbox;

    std::string logText() const { return m_sandbox->dir.read("rufwacht.log"); }
    void apply(bool on, const std::string& executable = kExecutable,
               const std::string& configDir = {}) {
        applyAutostartSetting(*m_sandbox->autostart, on, executable, configDir, m_sandbox->log);
    }

private slots:
    void init() { m_sandbox = std::make_unique<Sandbox>(); }
    void cleanup() { m_sandbox.reset(); }

    void onCreatesAnEntryThatStartsTheExecutable_data() {
        QTest::addColumn<QString>("executable");
        QTest::addColumn<QString>("configDir");
        QTest::addColumn<QString>("exec");
        QTest::newRow("plain") << QString(kExecutable) << QString()
                               << QStringLiteral("Exec=\"/opt/rufwacht/rufwacht\"");
        // A settings folder of its own goes along, so log-on starts the program on it.
        QTest::newRow("own settings folder")
            << QString(kExecutable) << QStringLiteral("/home/a/100% calls/")
            << QStringLiteral(
                   "Exec=\"/opt/rufwacht/rufwacht\" \"--config-dir=/home/a/100%% calls\"");
        // Quoting escapes " ` $ \ with a backslash, the file escapes every backslash again,
        // and % is doubled so that it is no field code.
        QTest::newRow("reserved characters")
            << QStringLiteral("/home/a b/100% \"$x\"/rufwacht") << QString()
            << QStringLiteral("Exec=\"/home/a b/100%% \\\\\"\\\\$x\\\\\"/rufwacht\"");
    }
    void onCreatesAnEntryThatStartsTheExecutable() {
        QFETCH(QString, executable);
        QFETCH(QString, configDir);
        QFETCH(QString, exec);
        apply(true, executable.toStdString(), configDir.toStdString());
        const auto entry = splitLines(m_sandbox->dir.read("config/autostart/rufwacht.desktop"));
        QCOMPARE(entry.front(), std::string("[Desktop Entry]"));
        for (const QString& line : QStringList{"Type=Application", "Name=Rufwacht", exec}) {
            QVERIFY2(std::ranges::count(entry, line.toStdString()) == 1, qPrintable(line));
        }
        QCOMPARE(logText(), std::string());
    }

    void anExistingEntryIsLeftAloneUntilOffRemovesIt() {
        const std::string own = "[Desktop Entry]\nExec=/usr/bin/elsewhere\n";
        m_sandbox->dir.write("config/autostart/rufwacht.desktop", own);
        apply(true);
        QCOMPARE(m_sandbox->dir.read("config/autostart/rufwacht.desktop"), own);
        // Off removes it, and without one does nothing.
        apply(false);
        QVERIFY(!m_sandbox->autostart->exists());
        apply(false);
        QVERIFY(!m_sandbox->autostart->exists());
    }

    void withoutXdgConfigHomeTheEntryGoesBelowHome() {
        const ScopedEnv relative("XDG_CONFIG_HOME", "relative/config"); // to be ignored
        const ScopedEnv home("HOME", (m_sandbox->dir.path() + "home").c_str());
        apply(true);
        QVERIFY(std::filesystem::exists(
            m_sandbox->dir.file("home/.config/autostart/rufwacht.desktop")));
    }

    void aFailureIsLoggedOnceWithNumberAndDescription() {
        m_sandbox->dir.write("config/autostart", "a file where the folder should be");
        apply(true);
        QVERIFY(!m_sandbox->autostart->exists());
        const auto logged = splitLines(logText());
        QCOMPARE(logged.size(), std::size_t(1));
        const std::regex line(".* - ERROR: unable to create autostart shortcut \\(\\d+ - .+\\)");
        QVERIFY2(std::regex_match(logged.front(), line), logged.front().c_str());
    }
};

QTEST_GUILESS_MAIN(AutostartTest)
#include "AutostartTest.moc"
