#include "line/CapiDriverFactory.h"

#include "line/SimulatedLine.h"
#include "line/SystemCapiDriver.h"
#include "support/AppPaths.h"
#include "support/TextFile.h"

namespace {

std::string findScenario(const std::string& path, const std::string& dataDir) {
    if (fileExists(path)) {
        return path;
    }
    if (!toFsPath(path).is_absolute()) {
        auto inDataFolder = dataDir + path;
        if (fileExists(inDataFolder)) {
            return inDataFolder;
        }
    }
    return {};
}

} // namespace

std::unique_ptr<CapiDriver> makeCapiDriver(const std::string& lineChoice,
                                           const std::string& dataDir, std::string& error) {
    error.clear();
    if (lineChoice.empty() || lineChoice == "capi") {
        return makeSystemCapiDriver();
    }
    if (lineChoice.starts_with("capi:") && lineChoice.size() > 5) {
        return makeSystemCapiDriver(lineChoice.substr(5));
    }
    if (lineChoice.starts_with("sim:")) {
        const auto requested = lineChoice.substr(4);
        if (requested.empty()) {
            error = "--line=sim: needs a scenario file, e.g. --line=sim:data/demo/calls.scenario";
            return nullptr;
        }
        const auto path = findScenario(requested, dataDir);
        if (path.empty()) {
            error = "Scenario file not found: " + requested;
            return nullptr;
        }
        auto scenario = readScenarioFile(path);
        if (!scenario) {
            error = "Scenario file cannot be read: " + path;
            return nullptr;
        }
        const auto folder = toFsPath(path).parent_path().string();
        return std::make_unique<SimulatedLine>(std::move(*scenario), folder);
    }
    error = "Unknown line \"" + lineChoice +
            "\": use capi, capi:LIBRARY, sim:FILE or callmonitor:HOST[:PORT]";
    return nullptr;
}
