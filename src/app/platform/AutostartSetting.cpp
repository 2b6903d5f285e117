#include "platform/Autostart.h"

#include "support/Log.h"

std::string configDirArgument(std::string configDir) {
    while (configDir.size() > 1 && (configDir.back() == '/' || configDir.back() == '\\')) {
        configDir.pop_back();
    }
    return "--config-dir=" + configDir;
}

void applyAutostartSetting(Autostart& autostart, bool on, const std::string& executable,
                           const std::string& configDir, const Log& log) {
    if (!on) {
        autostart.remove();
        return;
    }
    if (autostart.exists()) {
        return;
    }
    if (const auto failure = autostart.create(executable, configDir)) {
        log.write("ERROR: unable to create autostart shortcut (" + std::to_string(failure->number) +
                  " - " + failure->description + ")");
    }
}
