#include "support/TempDir.h"

#include "platform/Autostart.h"
#include "support/Log.h"
#include "support/TextFile.h"

#include <QTest>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <memory>
#include <string>

namespace {

constexpr const char* kExecutable = "/opt/rufwacht/rufwacht";

} // namespace

// The Linux entry in a temporary XDG_CONFIG_HOME.
class AutostartTest : public QObject {
    Q_OBJECT
private:
    std::unique_ptr<TempDir> m_dir;
    std::unique_ptr<ScopedEnv> m_configHome;
    std::unique_ptr<Autostart> m_autostart;
    Log m_log;

    std::string entryPath() const { return m_dir->file("config/autostart/rufwacht.desktop"); }
    std::string logText() const { return m_dir->read("rufwacht.log"); }
    void apply(bool on, const std::string& executable = kExecutable) {
        applyAutostartSetting(*m_autostart, on, executable, m_log);
    }

private slots:
    void init() {
        m_dir = std::make_unique<TempDir>();
        m_configHome =
            std::make_unique<ScopedEnv>("XDG_CONFIG_HOME", (m_dir->path() + "config").c_str());
        m_autostart = makeSystemAutostart();
        m_log = Log(m_dir->file("rufwacht.log"));
    }
    void cleanup() {
        m_configHome.reset();
        m_dir.reset();
    }

    void onCreatesAnEntryThatStartsTheExecutable_data() {
        QTest::addColumn<QString>("executable");
        QTest::addColumn<QString>("exec");
        QTest::newRow("plain") << QString(kExecutable)
                               << QStringLiteral("Exec=\"/opt/rufwacht/rufwacht\"");
        // Quoting escapes " ` $ \ with a backslash, the file escapes every backslash again,
        // and % is doubled so that it is no field code.
        QTest::newRow("reserved characters")
            << QStringLiteral("/home/a b/100% \"$x\"/rufwacht")
            << QStringLiteral("Exec=\"/home/a b/100%% \\\\\"\\\\$x\\\\\"/rufwacht\"");
    }
    void onCreatesAnEntryThatStartsTheExecutable() {
        QFETCH(QString, executable);
        QFETCH(QString, exec);
        QVERIFY(!m_autostart->exists());
        apply(true, executable.toStdString());
        QVERIFY(m_autostart->exists());
        const auto entry = splitLines(m_dir->read("config/autostart/rufwacht.desktop"));
        QCOMPARE(entry.front(), std::string("[Desktop Entry]"));
        for (const char* line : {"Type=Application", "Name=Rufwacht"}) {
            QVERIFY(std::find(entry.begin(), entry.end(), line) != entry.end());
        }
        QVERIFY(std::find(entry.begin(), entry.end(), exec.toStdString()) != entry.end());
        QCOMPARE(logText(), std::string());
    }

    void anExistingEntryIsLeftAlone() {
        const std::string own = "[Desktop Entry]\nExec=/usr/bin/elsewhere\n";
        m_dir->write("config/autostart/rufwacht.desktop", own);
        apply(true);
        QCOMPARE(m_dir->read("config/autostart/rufwacht.desktop"), own);
        QCOMPARE(logText(), std::string());
    }

    void offRemovesTheEntryAndWithoutOneDoesNothing() {
        apply(true);
        apply(false);
        QVERIFY(!std::filesystem::exists(entryPath()));
        apply(false);
        QVERIFY(!m_autostart->exists());
        QCOMPARE(logText(), std::string());
    }

    void withoutXdgConfigHomeTheEntryGoesBelowHome() {
        const ScopedEnv relative("XDG_CONFIG_HOME", "relative/config"); // to be ignored
        const ScopedEnv home("HOME", (m_dir->path() + "home").c_str());
        apply(true);
        QVERIFY(std::filesystem::exists(m_dir->file("home/.config/autostart/rufwacht.desktop")));
    }

    void aFailureIsLoggedOnceWithNumberAndDescription() {
        m_dir->write("config/autostart", "a file where the folder should be");
        apply(true);
        QVERIFY(!m_autostart->exists());
        const auto logged = splitLines(logText());
        QCOMPARE(logged.size(), std::size_t(1));
        const std::string line = logged.front();
        const std::string start = "ERROR: unable to create autostart shortcut (";
        const std::size_t at = line.find(start);
        QVERIFY2(at != std::string::npos, line.c_str());
        const std::string inner = line.substr(at + start.size());
        QCOMPARE(inner.back(), ')');
        const std::size_t dash = inner.find(" - ");
        QVERIFY2(dash != std::string::npos && dash > 0, line.c_str());
        QVERIFY(std::all_of(inner.begin(), inner.begin() + static_cast<long>(dash),
                            [](char c) { return std::isdigit(static_cast<unsigned char>(c)); }));
    }
};

QTEST_GUILESS_MAIN(AutostartTest)
#include "AutostartTest.moc"
