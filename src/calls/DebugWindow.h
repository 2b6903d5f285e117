#pragma once

#include <QWidget>

class QPlainTextEdit;
class frmMain;

/// The controller shown as a debug window: its trace and, later, its diagnostics. Closing it
/// asks to end the program; when the user declines, only this view goes.
class DebugWindow : public QWidget {
    Q_OBJECT
public:
    explicit DebugWindow(frmMain& controller, QWidget* parent = nullptr);
    ~DebugWindow() override;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void appendLine(const QString& line);

    frmMain& m_controller;
    QPlainTextEdit* m_trace;
};
