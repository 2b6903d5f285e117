#include "MosquittoBroker.h"
#include "ProgramRunner.h"

#include <QFile>
#include <QStandardPaths>
#include <QTcpSocket>
#include <QTest>

#include <algorithm>

#include <unistd.h>

#include <utility>

namespace {

bool accepts(quint16 port) {
    QTcpSocket probe;
    probe.connectToHost(QHostAddress::LocalHost, port);
    return probe.waitForConnected(200);
}

QString broker() {
    return QStandardPaths::findExecutable("mosquitto", {"/usr/sbin", "/usr/bin"});
}

} // namespace

MosquittoBroker::MosquittoBroker(QString folder, const QStringList& extraConfig)
    : m_folder(std::move(folder)), m_port(ProgramRunner::freePort()) {
    // Anyone may connect unless the extra lines say who.
    QStringList config{"listener " + QString::number(m_port) + " 127.0.0.1",
                       "allow_anonymous " + QString(extraConfig.isEmpty() ? "true" : "false"),
                       "persistence true",
                       "persistence_location " + m_folder + "/",
                       "log_type all",
                       "log_dest file " + m_folder + "/broker.log"};
    if (::getuid() == 0) {
        // Else the broker changes to its own user, who cannot write the test's folder.
        config << "user root";
    }
    config << extraConfig;
    QFile file(m_folder + "/mosquitto.conf");
    file.open(QIODevice::WriteOnly);
    file.write((config.join('\n') + '\n').toUtf8());
}

MosquittoBroker::~MosquittoBroker() {
    if (m_subscriber) {
        m_subscriber->kill();
        m_subscriber->waitForFinished();
    }
    stop();
}

bool MosquittoBroker::isInstalled() {
    return !broker().isEmpty() && !QStandardPaths::findExecutable("mosquitto_sub").isEmpty() &&
           !QStandardPaths::findExecutable("mosquitto_passwd").isEmpty();
}

bool MosquittoBroker::start() {
    m_broker = std::make_unique<QProcess>();
    // Its warning about running as root is of no interest here.
    m_broker->setStandardOutputFile(m_folder + "/broker.out", QIODevice::Append);
    m_broker->setStandardErrorFile(m_folder + "/broker.out", QIODevice::Append);
    m_broker->start(broker(), {"-c", m_folder + "/mosquitto.conf"});
    return m_broker->waitForStarted() &&
           QTest::qWaitFor([this]() { return accepts(m_port); }, 10000);
}

void MosquittoBroker::stop() {
    if (m_broker && m_broker->state() != QProcess::NotRunning) {
        m_broker->terminate();
        m_broker->waitForFinished(10000);
    }
}

QString MosquittoBroker::log() const {
    QFile file(m_folder + "/broker.log");
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

void MosquittoBroker::subscribe(const QStringList& topics) {
    QStringList arguments{"-h", "127.0.0.1",  "-p", QString::number(m_port), "-q", "1", "-c",
                          "-i", "e2e-reader", "-v"};
    for (const QString& topic : topics) {
        arguments << "-t" << topic;
    }
    m_subscriber = std::make_unique<QProcess>();
    // Line by line, not a pipe's buffer at a time.
    m_subscriber->start("stdbuf", QStringList{"-oL", "mosquitto_sub"} + arguments);
    m_subscriber->waitForStarted();
}

QStringList MosquittoBroker::received() {
    if (m_subscriber) {
        m_partial += m_subscriber->readAllStandardOutput();
        const qsizetype end = m_partial.lastIndexOf('\n');
        if (end >= 0) {
            m_received << QString::fromUtf8(m_partial.left(end)).split('\n');
            m_partial.remove(0, end + 1);
        }
    }
    return m_received;
}

bool MosquittoBroker::waitForLine(const QString& start, int timeoutMs) {
    return QTest::qWaitFor(
        [&]() {
            const QStringList lines = received();
            return std::ranges::any_of(lines,
                                       [&](const QString& line) { return line.startsWith(start); });
        },
        timeoutMs);
}
