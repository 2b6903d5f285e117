#pragma once

#include <array>

struct AppContext;
class AppPaths;
class ControllerUi;
class LanguageTable;
class OriginLookup;
class UserPrompt;
struct SettingsRecord;

/// What the start-up checks prepare and load: the folders, the language and the origin tables.
struct StartupChecksParts {
    const AppPaths& paths;
    const SettingsRecord& settings;
    LanguageTable& language;
    OriginLookup& origins;

    static StartupChecksParts of(AppContext& context);
};

/// The steps of the start-up that can stop it: the settings folders, the language, the
/// origin tables and the resource files. A failing step has told the user when it returns.
class StartupChecks {
public:
    /// The resource files that start-up requires below the data folder's res/, in the order
    /// checked.
    static constexpr std::array<const char*, 8> kResourceFiles = {
        "bg.jpg",   "call.wav",       "eye.ico",        "info.wav",
        "load.wav", "phoneblack.ico", "phonegreen.ico", "phonered.ico"};

    StartupChecks(const StartupChecksParts& parts, UserPrompt& prompt, ControllerUi& ui,
                  bool headless)
        : m_parts(parts), m_prompt(prompt), m_ui(ui), m_headless(headless) {}

    /// Creates the settings folder and its logs folder.
    bool prepareFolders();
    /// Loads the chosen language; without one the desktop asks, the headless service takes
    /// English.
    void loadLanguage();
    /// Loads the origin tables of the own country.
    bool loadOrigins();
    /// Every resource file is there.
    bool checkResources();

private:
    void tellResourceMissing();

    StartupChecksParts m_parts;
    UserPrompt& m_prompt;
    ControllerUi& m_ui;
    bool m_headless;
};
