#pragma once

#include <QPluginLoader>
#include <QString>

/// Loads one of the program's own modules: the parts with large libraries behind them (sound,
/// MQTT), which a program that never uses them should not pay for at start. A module is found
/// by name in Qt's library paths, which hold the executable's folder and the folder the
/// package installs modules to.
class ModuleLoader {
public:
    explicit ModuleLoader(const QString& name) : m_loader(name) {}

    /// The module's entry point as Interface; null when it cannot be loaded, with error()
    /// telling why. Loaded once, then kept.
    template <typename Interface> Interface* load() {
        return qobject_cast<Interface*>(m_loader.instance());
    }
    QString error() const { return m_loader.errorString(); }

    /// Adds the folder the package installs modules to, beside the executable's own.
    static void addInstalledFolder();

private:
    QPluginLoader m_loader;
};
