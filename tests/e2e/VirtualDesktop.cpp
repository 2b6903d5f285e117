#include "VirtualDesktop.h"

#include <QDeadlineTimer>
#include <QProcessEnvironment>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTest>

VirtualDesktop::~VirtualDesktop() {
    for (QProcess* process : {&m_trayHost, &m_server}) {
        process->terminate();
        process->waitForFinished(3000);
    }
}

bool VirtualDesktop::toolsPresent() {
    for (const char* tool : {"Xvfb", "trayer", "xdotool"}) {
        if (QStandardPaths::findExecutable(tool).isEmpty()) {
            return false;
        }
    }
    return true;
}

bool VirtualDesktop::startServer() {
    if (m_server.state() != QProcess::NotRunning) {
        m_server.kill();
        m_server.waitForFinished(3000);
    }
    // Xvfb picks a free display and writes its number to the descriptor given.
    m_server.start("Xvfb", {"-displayfd", "1", "-screen", "0", "1024x768x24", "-nolisten", "tcp"});
    QDeadlineTimer deadline(10000);
    QByteArray number;
    while (!number.contains('\n') && !deadline.hasExpired()) {
        m_server.waitForReadyRead(100);
        number += m_server.readAllStandardOutput();
    }
    if (!number.contains('\n')) {
        return false;
    }
    m_display = ":" + QString::fromLatin1(number.trimmed());
    // Ready when a client gets an answer. Servers started side by side (tests run in parallel)
    // can race for one display, and the loser ends; then the caller starts another.
    deadline.setRemainingTime(10000);
    while (!deadline.hasExpired() && m_server.state() == QProcess::Running) {
        if (!xdotool({"getdisplaygeometry"}).trimmed().isEmpty()) {
            return true;
        }
        QTest::qWait(100);
    }
    return false;
}

bool VirtualDesktop::start(bool withNotificationArea) {
    bool started = false;
    for (int attempt = 0; attempt < 3 && !started; ++attempt) {
        started = startServer();
    }
    if (!started) {
        return false;
    }
    if (!withNotificationArea) {
        return true;
    }
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("DISPLAY", m_display);
    m_trayHost.setProcessEnvironment(environment);
    m_trayHost.start("trayer", {"--edge", "bottom", "--align", "right", "--widthtype", "request",
                                "--height", "24"});
    // Still running after a moment: the notification area is up.
    return m_trayHost.waitForStarted(5000) && !m_trayHost.waitForFinished(500);
}

QByteArray VirtualDesktop::run(const QString& tool, const QStringList& arguments) const {
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("DISPLAY", m_display);
    process.setProcessEnvironment(environment);
    process.start(tool, arguments);
    process.waitForFinished(5000);
    return process.readAllStandardOutput();
}

QString VirtualDesktop::xdotool(const QStringList& arguments) const {
    return QString::fromUtf8(run("xdotool", arguments));
}

QStringList VirtualDesktop::windows(const QString& title) const {
    return xdotool(
               {"search", "--onlyvisible", "--name", "^" + QRegularExpression::escape(title) + "$"})
        .split('\n', Qt::SkipEmptyParts);
}

int VirtualDesktop::visibleWindows(const QString& title) const {
    return static_cast<int>(windows(title).size());
}

QString VirtualDesktop::findWindow(const QString& title) const {
    const QStringList found = windows(title);
    return found.isEmpty() ? QString() : found.first();
}

QSize VirtualDesktop::windowSize(const QString& window) const {
    // --shell prints WINDOW=, X=, Y=, WIDTH=, HEIGHT= lines.
    QSize size;
    for (const QString& line : xdotool({"getwindowgeometry", "--shell", window}).split('\n')) {
        if (line.startsWith("WIDTH=")) {
            size.setWidth(line.mid(6).toInt());
        } else if (line.startsWith("HEIGHT=")) {
            size.setHeight(line.mid(7).toInt());
        }
    }
    return size;
}

bool VirtualDesktop::isStill(const QString& window) const {
    const QStringList xwd{"-silent", "-id", window};
    const QByteArray before = run("xwd", xwd);
    // The pause is what is asked about: the same picture a moment apart.
    QTest::qWait(200);
    return !before.isEmpty() && run("xwd", xwd) == before;
}

void VirtualDesktop::click(const QString& window, QPoint at) const {
    xdotool({"mousemove", "--window", window, QString::number(at.x()), QString::number(at.y()),
             "click", "1"});
}

void VirtualDesktop::focus(const QString& window) const {
    xdotool({"windowfocus", "--sync", window});
}

void VirtualDesktop::keys(const QStringList& names) const {
    xdotool(QStringList{"key", "--delay", "50"} + names);
}

void VirtualDesktop::type(const QString& text) const {
    xdotool({"type", "--delay", "30", text});
}
