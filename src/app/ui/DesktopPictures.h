#pragma once

#include "calls/CallViews.h"

#include <QIcon>
#include <QPixmap>

#include <string>

/// The pictures that the windows and the notification icon share, loaded once from the
/// resource folder.
struct DesktopPictures {
    QIcon telBlack;
    QIcon telGreen;
    QIcon telRed;
    QIcon eye;
    QPixmap background;

    /// Loads the pictures from resourceDir (ending in a separator); a missing file leaves an
    /// empty picture.
    static DesktopPictures load(const std::string& resourceDir);

    const QIcon& trayIcon(TrayIcon colour) const;
};
