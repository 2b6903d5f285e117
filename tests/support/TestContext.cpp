#include "support/TestContext.h"

std::string TestContext::dataDir() {
    return std::string(RUFWACHT_SOURCE_DIR) + "/data/";
}

TestContext::TestContext(const std::string& programDir)
    : context(AppPaths(programDir.empty() ? dataDir() : programDir, dir.path())) {
    context.language.select("english");
    context.loadStores();
    context.settings.ownCountryPrefix = "0049";
    context.loadOrigins();
}
