#pragma once

#include "support/TempDir.h"

#include "calls/AppContext.h"

#include <string>

/// The application context of one test: the data folder is the source tree's data folder
/// (languages, origin tables, resources) unless given, the settings folder a fresh temporary
/// folder. English texts, empty stores loaded from there and the German origin tables; the
/// settings record stays as constructed (every flag off) for the test to set.
class TestContext {
public:
    explicit TestContext(const std::string& dataFolder = {});

    /// The source tree's data folder, with a trailing "/".
    static std::string dataDir();

    TempDir dir;
    AppContext context;

    SettingsRecord& settings() { return context.settings; }
    std::string text(int id) const { return context.language.text(id); }
};
