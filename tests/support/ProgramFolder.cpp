#include "support/ProgramFolder.h"

#include <filesystem>

ProgramFolder::ProgramFolder() {
    std::filesystem::create_directories(appDir());
    for (const char* sub : {"lang", "res", "prefix"}) {
        std::filesystem::copy(std::string(RUFWACHT_SOURCE_DIR) + "/data/" + sub,
                              appDir() + "/" + sub, std::filesystem::copy_options::recursive);
    }
    m_dir.write("empty.scenario", "# nothing happens\n");
    m_runtime = std::make_unique<ScopedEnv>("XDG_RUNTIME_DIR", m_dir.path().c_str());
}

void ProgramFolder::writeConfig(const std::string& content) const {
    m_dir.write("app/config/config.dat", content);
}
