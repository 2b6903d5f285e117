#pragma once

#include <functional>
#include <string>

struct AppContext;
class AddressBooks;
class Autostart;
class FilePicker;
class SoundPolicy;
class UrlOpener;
class UserPrompt;
class WebExportControl;
struct DesktopPictures;

/// What the settings dialog works with besides its own controls.
struct SettingsDialogParts {
    AppContext& context;
    UserPrompt& prompt;
    /// The feedback sound and the test of the call sound.
    SoundPolicy& sound;
    /// The browser and the mail program, for the test link and the info page's addresses.
    UrlOpener& urls;
    WebExportControl& webExport;
    Autostart& autostart;
    FilePicker& files;
    const DesktopPictures& pictures;
    /// The running executable, which the autostart entry starts.
    std::string executable;
    /// The --line this run uses instead of the setting; empty when none was given.
    std::string lineFromCommandLine;
    /// The settings folder given with --config-dir (absolute); empty for the default one. The
    /// autostart entry starts the program on it.
    std::string configDirFromCommandLine{};
    /// Called when OK has saved the settings: the MQTT output follows them at once.
    std::function<void()> applyMqttSettings{};
    /// The address books shown on the phonebook page; none without a running line.
    AddressBooks* addressBooks = nullptr;
};
