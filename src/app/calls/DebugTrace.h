#pragma once

#include <QObject>
#include <QString>

/// The controller's debug trace: "---DEBUG---" and CR LF, then every status and error of the
/// line. The debug window shows it; the headless service in debug mode prints each addition
/// as one line on stderr. It keeps the latest kMaxCharacters at most: a service that runs for
/// months must not grow with every call it has seen.
class DebugTrace : public QObject {
    Q_OBJECT
public:
    static constexpr qsizetype kMaxCharacters = 256 * 1024;

    explicit DebugTrace(bool echoToStderr, QObject* parent = nullptr);
    ~DebugTrace() override;

    const QString& text() const { return m_text; }
    void append(const QString& text);

signals:
    void appended(const QString& text);

private:
    void dropOldestLines();

    bool m_echoToStderr;
    QString m_text;
};
