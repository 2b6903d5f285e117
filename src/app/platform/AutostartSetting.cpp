#include "platform/Autostart.h"

#include "support/Log.h"

void applyAutostartSetting(Autostart& autostart, bool on, const std::string& executable,
                           const Log& log) {
    if (!on) {
        autostart.remove();
        return;
    }
    if (autostart.exists()) {
        return;
    }
    if (const auto failure = autostart.create(executable)) {
        log.write("ERROR: unable to create autostart shortcut (" + std::to_string(failure->number) +
                  " - " + failure->description + ")");
    }
}
