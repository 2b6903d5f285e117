#pragma once

#include "calls/CallViews.h"

#include <QIcon>
#include <QPixmap>

#include <optional>
#include <string>

/// The pictures that the windows and the notification icon share, loaded once from the
/// resource folder.
struct DesktopPictures {
    QIcon telBlack;
    QIcon telGreen;
    QIcon telRed;
    QIcon eye;

    /// Loads the pictures from resourceDir (ending in a separator); a missing file leaves an
    /// empty picture.
    static DesktopPictures load(const std::string& resourceDir);

    const QIcon& trayIcon(TrayIcon colour) const;
    /// The windows' background, read when a window first shows it: the icon alone needs no
    /// picture decoder.
    const QPixmap& background() const;

private:
    QString m_backgroundFile;
    mutable std::optional<QPixmap> m_background;
};
