#include "support/TestContext.h"

std::string TestContext::dataDir() {
    return std::string(RUFWACHT_SOURCE_DIR) + "/data/";
}

TestContext::TestContext(const std::string& dataFolder)
    : context(AppPaths(dataFolder.empty() ? dataDir() : dataFolder, dir.path())) {
    context.language.select("english");
    context.loadStores();
    context.settings.ownCountryPrefix = "0049";
    context.origins.load(context.settings.ownCountryPrefix, context.paths.dataFile("prefix/"));
}
