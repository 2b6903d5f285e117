#pragma once

#include "calls/CallViews.h"

#include <QObject>
#include <QPointer>
#include <QSystemTrayIcon>

struct DesktopPictures;
class QMenu;
class TrayBlinker;

/// The program's icon in the notification area: shows what the blinker says, and any click
/// on it acknowledges; a left click asks for the journal window, a right click opens the menu.
class NotificationIcon : public QObject {
    Q_OBJECT
public:
    NotificationIcon(TrayBlinker& blinker, const DesktopPictures& pictures, QMenu* menu,
                     QObject* parent = nullptr);
    ~NotificationIcon() override;

    /// The menu of a right click; none before it is given.
    void setMenu(QMenu* menu);
    /// Puts the icon into the notification area.
    void add();
    /// Takes the icon out of the notification area for good.
    void remove();
    bool isShown() const { return m_icon.isVisible(); }
    /// A warning balloon beside the icon, e.g. that a data file could not be saved.
    void showNotice(const QString& title, const QString& text);
    const QSystemTrayIcon& icon() const { return m_icon; }
    /// A line under the tooltip, such as "3 missed"; empty for none.
    void setMissedText(const QString& text);

signals:
    /// A left click: the user wants the journal window.
    void openRequested();

public slots:
    /// What the icon does when the platform reports a click on it.
    void onActivated(QSystemTrayIcon::ActivationReason reason);

private:
    void showIcon(TrayIcon colour);
    void showTooltip(const QString& tooltip);

    TrayBlinker& m_blinker;
    const DesktopPictures& m_pictures;
    QPointer<QMenu> m_menu;
    QSystemTrayIcon m_icon;
    QString m_missedText;
};
