// The peer of the start-up benchmark: the least a Qt program with an icon in the notification
// area does. An icon, a tooltip and a menu, shown at once.
#include <QApplication>
#include <QIcon>
#include <QMenu>
#include <QSystemTrayIcon>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    QMenu menu;
    QObject::connect(menu.addAction("Exit"), &QAction::triggered, &app, &QApplication::quit);
    QSystemTrayIcon icon(QIcon(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString()));
    icon.setToolTip("Bare tray");
    icon.setContextMenu(&menu);
    icon.show();
    return QApplication::exec();
}
