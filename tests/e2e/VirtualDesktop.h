#pragma once

#include <QPoint>
#include <QProcess>
#include <QSize>
#include <QString>
#include <QStringList>

/// A virtual screen (Xvfb), with a notification area (trayer) when asked, for as long as the
/// test runs; xdotool looks for windows and acts as the user's mouse and keyboard.
class VirtualDesktop {
public:
    VirtualDesktop() = default;
    ~VirtualDesktop();
    VirtualDesktop(const VirtualDesktop&) = delete;
    VirtualDesktop& operator=(const VirtualDesktop&) = delete;

    /// True when Xvfb, trayer and xdotool are installed.
    static bool toolsPresent();

    bool start(bool withNotificationArea = true);
    const QString& display() const { return m_display; }

    /// The visible windows whose title is exactly the text.
    int visibleWindows(const QString& title) const;
    /// The first visible window whose title is exactly the text; empty when there is none.
    QString findWindow(const QString& title) const;
    QSize windowSize(const QString& window) const;
    /// True when the window shows the same picture twice, a moment apart: nothing moves in it.
    /// Needs xwd.
    bool isStill(const QString& window) const;

    /// A left click at a point of the window, in pixels from its top left corner.
    void click(const QString& window, QPoint at) const;
    void focus(const QString& window) const;
    /// Presses keys one after another, by their X names ("Tab", "space", "Escape").
    void keys(const QStringList& names) const;
    /// Types the text into the window that has the focus.
    void type(const QString& text) const;

private:
    bool startServer();
    QByteArray run(const QString& tool, const QStringList& arguments) const;
    QString xdotool(const QStringList& arguments) const;
    QStringList windows(const QString& title) const;

    QProcess m_server;
    QProcess m_trayHost;
    QString m_display;
};
