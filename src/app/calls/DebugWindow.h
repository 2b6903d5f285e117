#pragma once

#include <QWidget>

class QLineEdit;
class QPlainTextEdit;
class Controller;

/// The controller shown as a debug window: its trace, the latest call and the diagnostic and
/// test buttons. Closing it asks to end the program; when the user declines, only this view
/// goes and the controller lives on.
class DebugWindow : public QWidget {
    Q_OBJECT
public:
    explicit DebugWindow(Controller& controller, QWidget* parent = nullptr);
    ~DebugWindow() override;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    QLineEdit* addField(const char* objectName);
    void appendText(const QString& text);
    void showLatestCall();

    Controller& m_controller;
    QPlainTextEdit* m_trace;
    QLineEdit* m_dateTime;
    QLineEdit* m_calledMsn;
    QLineEdit* m_callerId;
    QLineEdit* m_cip;
    QLineEdit* m_disconnectReason;
};
