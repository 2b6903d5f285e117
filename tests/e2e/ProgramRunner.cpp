#include "ProgramRunner.h"

#include "stores/LanguageTable.h"
#include "stores/MsnList.h"
#include "stores/Phonebook.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTcpServer>
#include <QTest>

#include <filesystem>

ProgramRunner::ProgramRunner() : m_environment(QProcessEnvironment::systemEnvironment()) {
    std::filesystem::copy(RUFWACHT_BIN_DIR, (m_dir.path() + "/app").toStdString(),
                          std::filesystem::copy_options::recursive);
    // A settings folder left by running the program from the build folder is not shipped.
    QDir(appDir() + "config").removeRecursively();
    QDir(m_dir.path()).mkdir("run");
    QFile::setPermissions(m_dir.path() + "/run",
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    m_environment.insert("XDG_RUNTIME_DIR", m_dir.path() + "/run");
    m_environment.insert("XDG_CONFIG_HOME", m_dir.path() + "/xdg");
}

QProcess* ProgramRunner::start(const QStringList& arguments, QProcess* stdoutReader) {
    auto process = std::make_unique<QProcess>();
    if (stdoutReader != nullptr) {
        process->setStandardOutputProcess(stdoutReader);
    }
    process->setProcessEnvironment(m_environment);
    process->setWorkingDirectory(m_dir.path());
    if (m_wrapper.isEmpty()) {
        process->start(appDir() + "rufwacht", arguments);
    } else {
        process->start(m_wrapper.first(),
                       m_wrapper.mid(1) + QStringList{appDir() + "rufwacht"} + arguments);
    }
    process->waitForStarted();
    m_processes.push_back(std::move(process));
    return m_processes.back().get();
}

QProcess* ProgramRunner::run(const QStringList& arguments) {
    QProcess* program = start(arguments);
    program->waitForFinished(10000);
    return program;
}

int ProgramRunner::stop(QProcess* program) {
    program->terminate();
    if (!program->waitForFinished(10000) || program->exitStatus() != QProcess::NormalExit) {
        return -1;
    }
    // A failed end says why (a sanitizer's report, a message) in the test's output.
    if (program->exitCode() != 0) {
        qWarning("program ended with %d:\n%s", program->exitCode(),
                 program->readAllStandardError().right(4000).constData());
    }
    return program->exitCode();
}

std::string englishText(int number) {
    LanguageTable language;
    language.scan(std::string(RUFWACHT_SOURCE_DIR) + "/data/lang");
    language.select("english");
    return language.text(number);
}

quint16 ProgramRunner::freePort() {
    const auto first = static_cast<quint16>(20000 + QRandomGenerator::global()->bounded(10000));
    for (quint16 port = first; port < 32000; ++port) {
        QTcpServer probe;
        if (probe.listen(QHostAddress::Any, port)) {
            return port;
        }
    }
    return 0;
}

QString ProgramRunner::scenario(const QString& commands) {
    QFile file(m_dir.path() + "/test.scenario");
    file.open(QIODevice::WriteOnly);
    file.write(
        ("transcript " + transcriptPath() + "\n" + QString(commands).replace("; ", "\n") + "\n")
            .toUtf8());
    return "--line=sim:" + file.fileName();
}

QProcess* ProgramRunner::startHeadless(const QString& commands, const QStringList& arguments) {
    return start(QStringList{"--headless"} + arguments + QStringList{scenario(commands)});
}

QStringList ProgramRunner::transcript() const {
    QFile file(transcriptPath());
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    return QString::fromUtf8(file.readAll()).split('\n', Qt::SkipEmptyParts);
}

bool ProgramRunner::waitForTranscript(const QString& text, int count, int timeoutMs) const {
    return QTest::qWaitFor([&]() { return transcript().filter(text).size() >= count; }, timeoutMs);
}

void ProgramRunner::writeConfig(const QStringList& keyValues) {
    writeFile("config.dat",
              ("[config]\r\nlanguage=english\r\n" + keyValues.join("\r\n") + "\r\n").toLatin1());
}

void ProgramRunner::writeFile(const QString& name, const QByteArray& bytes) {
    QDir().mkpath(configDir());
    QFile file(configDir() + name);
    file.open(QIODevice::WriteOnly);
    file.write(bytes);
}

QByteArray ProgramRunner::readFile(const QString& name) const {
    QFile file(configDir() + name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QString ProgramRunner::configValue(const QString& key) const {
    for (const QByteArray& line : readFile("config.dat").split('\n')) {
        const QString text = QString::fromUtf8(line).trimmed();
        if (text.startsWith(key + "=", Qt::CaseInsensitive)) {
            return text.mid(key.size() + 1);
        }
    }
    return {};
}

void ProgramRunner::setEnvironment(const QString& name, const QString& value) {
    if (value.isEmpty()) {
        m_environment.remove(name);
    } else {
        m_environment.insert(name, value);
    }
}

void ProgramRunner::addPhonebookEntry(const std::string& number, const std::string& name,
                                      bool reject, const std::string& picture) {
    QDir().mkpath(configDir());
    Phonebook phonebook;
    phonebook.load((configDir() + "nn.dat").toStdString());
    phonebook.add(number, name, reject, "", picture);
}

void ProgramRunner::addMsn(const std::string& msn, const std::string& name, bool reject,
                           bool rejectWithheld) {
    QDir().mkpath(configDir());
    MsnList msnList;
    msnList.load((configDir() + "msn.dat").toStdString());
    msnList.add(msn, name, reject, rejectWithheld);
}

CallJournal ProgramRunner::journal() const {
    CallJournal journal;
    journal.load((configDir() + "calls.txt").toStdString());
    return journal;
}

void ProgramRunner::showOn(const QString& display) {
    setEnvironment("QT_QPA_PLATFORM", "");
    setEnvironment("DISPLAY", display);
}

QString ProgramRunner::log() const {
    return QString::fromUtf8(readFile("logs/rufwacht.log"));
}

const QString& ProgramErrors::text() {
    m_text += QString::fromUtf8(m_program->readAllStandardError());
    return m_text;
}

bool ProgramErrors::waitFor(const QString& part, int timeoutMs) {
    return QTest::qWaitFor([&]() { return contains(part); }, timeoutMs);
}
