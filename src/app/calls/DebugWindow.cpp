#include "calls/DebugWindow.h"

#include "calls/CapiLine.h"
#include "calls/Controller.h"
#include "line/CapiApplication.h"
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

#include <functional>
#include <iterator>
#include <utility>

namespace {

QString forDisplay(const QString& text) {
    return QString(text).replace("\r\n", "\n");
}

} // namespace

DebugWindow::DebugWindow(Controller& controller, QWidget* parent)
    : QWidget(parent), m_controller(controller), m_trace(new QPlainTextEdit(this)),
      m_dateTime(addField("txtDateTime")), m_calledMsn(addField("txtCalledMSN")),
      m_callerId(addField("txtCallerID")), m_cip(addField("txtCIP")),
      m_disconnectReason(addField("txtDisconnectReason")) {
    setObjectName("frmMain");
    setWindowTitle("Form1");
    m_trace->setObjectName("txtDebug");
    m_trace->setReadOnly(true);
    // As bounded as the trace itself: the window may stay open for months.
    m_trace->setMaximumBlockCount(20000);
    m_trace->setPlainText(forDisplay(controller.trace().text()));

    auto* fields = new QFormLayout;
    fields->addRow("Date Time:", m_dateTime);
    fields->addRow("Called MSN:", m_calledMsn);
    fields->addRow("Caller ID:", m_callerId);
    fields->addRow("CIP Value:", m_cip);
    fields->addRow("Disconnect Reason:", m_disconnectReason);

    // The diagnostics ask the CAPI driver and add its answer to the trace; other lines have
    // none. The test calls come over whichever line there is.
    const auto diagnostic = [this](auto query) {
        return [this, query]() {
            if (auto* line = qobject_cast<CapiLine*>(m_controller.line())) {
                m_controller.trace().append("\r\n" + query(line->capi()));
            }
        };
    };
    const auto testCall = [this](void (Line::*step)()) {
        return [this, step]() {
            if (Line* line = m_controller.line()) {
                (line->*step)();
            }
        };
    };
    const std::pair<const char*, const char*> names[] = {
        {"Command1", "Incoming"},    {"Command7", "Disconnect"},  {"Command2", "GET_MANUFACT."},
        {"Command3", "GET_VERSION"}, {"Command4", "GET_PROFILE"}, {"Command5", "GET_SERIAL_NUM"},
        {"Command6", "INSTALLED"},
    };
    const std::function<void()> actions[] = {
        testCall(&Line::placeTestCall),
        testCall(&Line::endTestCall),
        diagnostic([](CapiApplication& capi) { return qs(capi.manufacturer()); }),
        diagnostic([](CapiApplication& capi) { return qs(capi.version()); }),
        diagnostic([](CapiApplication& capi) { return qs(capi.profile()); }),
        diagnostic([](CapiApplication& capi) { return qs(capi.serialNumber()); }),
        diagnostic(
            [](CapiApplication& capi) { return QString(capi.isInstalled() ? "TRUE" : "FALSE"); }),
    };
    auto* buttonRow = new QGridLayout;
    for (int column = 0; column < static_cast<int>(std::size(names)); ++column) {
        auto* button = new QPushButton(names[column].second, this);
        button->setObjectName(names[column].first);
        connect(button, &QPushButton::clicked, this, actions[column]);
        buttonRow->addWidget(button, column / 4, column % 4);
    }

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_trace, 1);
    layout->addLayout(fields);
    layout->addLayout(buttonRow);
    resize(640, 560);

    connect(&controller.trace(), &DebugTrace::appended, this, &DebugWindow::appendText);
    connect(&controller, &Controller::latestCallChanged, this, &DebugWindow::showLatestCall);
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
