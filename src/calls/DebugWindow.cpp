#include "calls/DebugWindow.h"

#include "calls/frmMain.h"
#include "support/QtText.h"

#include <QCloseEvent>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>
#include <QVBoxLayout>

namespace {

QString forDisplay(const QString& text) {
    return QString(text).replace("\r\n", "\n");
}

} // namespace

DebugWindow::DebugWindow(frmMain& controller, QWidget* parent)
    : QWidget(parent), m_controller(controller), m_trace(new QPlainTextEdit(this)),
      m_dateTime(addField("txtDateTime")), m_calledMsn(addField("txtCalledMSN")),
      m_callerId(addField("txtCallerID")), m_cip(addField("txtCIP")),
      m_disconnectReason(addField("txtDisconnectReason")) {
    setObjectName("frmMain");
    setWindowTitle("Form1");
    m_trace->setObjectName("txtDebug");
    m_trace->setReadOnly(true);
    m_trace->setPlainText(forDisplay(controller.debugText()));

    auto* fields = new QFormLayout;
    fields->addRow("Date Time:", m_dateTime);
    fields->addRow("Called MSN:", m_calledMsn);
    fields->addRow("Caller ID:", m_callerId);
    fields->addRow("CIP Value:", m_cip);
    fields->addRow("Disconnect Reason:", m_disconnectReason);

    struct ButtonSpec {
        const char* name;
        const char* caption;
        void (frmMain::*action)();
    };
    const ButtonSpec buttons[] = {
        {"Command1", "Incoming", &frmMain::testIncomingCall},
        {"Command7", "Disconnect", &frmMain::testDisconnect},
        {"Command2", "GET_MANUFACT.", &frmMain::appendManufacturer},
        {"Command3", "GET_VERSION", &frmMain::appendVersion},
        {"Command4", "GET_PROFILE", &frmMain::appendProfile},
        {"Command5", "GET_SERIAL_NUM", &frmMain::appendSerialNumber},
        {"Command6", "INSTALLED", &frmMain::appendInstalled},
    };
    auto* buttonRow = new QGridLayout;
    int column = 0;
    for (const auto& spec : buttons) {
        auto* button = new QPushButton(spec.caption, this);
        button->setObjectName(spec.name);
        connect(button, &QPushButton::clicked, &controller, spec.action);
        buttonRow->addWidget(button, column / 4, column % 4);
        ++column;
    }

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_trace, 1);
    layout->addLayout(fields);
    layout->addLayout(buttonRow);
    resize(640, 560);

    connect(&controller, &frmMain::debugAppended, this, &DebugWindow::appendText);
    connect(&controller, &frmMain::latestCallChanged, this, &DebugWindow::showLatestCall);
    showLatestCall();
}

DebugWindow::~DebugWindow() = default;

QLineEdit* DebugWindow::addField(const char* objectName) {
    auto* field = new QLineEdit(this);
    field->setObjectName(objectName);
    field->setReadOnly(true);
    return field;
}

void DebugWindow::appendText(const QString& text) {
    QTextCursor cursor = m_trace->textCursor();
    cursor.movePosition(QTextCursor::End);
    cursor.insertText(forDisplay(text));
    m_trace->setTextCursor(cursor);
    m_trace->verticalScrollBar()->setValue(m_trace->verticalScrollBar()->maximum());
}

void DebugWindow::showLatestCall() {
    const auto& call = m_controller.latestCall();
    m_dateTime->setText(qs(call.dateTime));
    m_calledMsn->setText(qs(call.calledMsn));
    m_callerId->setText(qs(call.callerId));
    m_cip->setText(qs(call.cip));
    m_disconnectReason->setText(qs(call.disconnectReason));
}

void DebugWindow::closeEvent(QCloseEvent* event) {
    // The view goes either way; the controller lives on unless the user confirms the exit.
    event->accept();
    QTimer::singleShot(0, &m_controller,
                       [controller = &m_controller]() { controller->appExit(false); });
}
