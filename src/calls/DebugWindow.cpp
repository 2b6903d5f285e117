#include "calls/DebugWindow.h"

#include "calls/frmMain.h"

#include <QCloseEvent>
#include <QPlainTextEdit>
#include <QTimer>
#include <QVBoxLayout>

DebugWindow::DebugWindow(frmMain& controller, QWidget* parent)
    : QWidget(parent), m_controller(controller), m_trace(new QPlainTextEdit(this)) {
    setObjectName("frmMain");
    setWindowTitle("Form1");
    m_trace->setObjectName("txtDebug");
    m_trace->setReadOnly(true);
    m_trace->setPlainText(QString(controller.debugText()).replace("\r\n", "\n"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_trace);
    resize(640, 480);
    connect(&controller, &frmMain::debugAppended, this, &DebugWindow::appendLine);
}

DebugWindow::~DebugWindow() = default;

void DebugWindow::appendLine(const QString& line) {
    m_trace->appendPlainText(QString(line).replace("\r\n", "\n"));
}

void DebugWindow::closeEvent(QCloseEvent* event) {
    // The view goes either way; the controller lives on unless the user confirms the exit.
    event->accept();
    QTimer::singleShot(0, &m_controller,
                       [controller = &m_controller]() { controller->appExit(false); });
}
