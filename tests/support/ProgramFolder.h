#pragma once

#include "support/TempDir.h"

#include <memory>
#include <string>

/// A program folder for one test: the shipped data tree (languages, origin tables, resources),
/// an empty scenario for the simulated line, and a runtime folder of its own so the instance
/// lock never meets another test's.
class ProgramFolder {
public:
    ProgramFolder();

    /// The program's folder, without a trailing separator (as the executable's folder is given).
    std::string appDir() const { return m_dir.path() + "app"; }
    /// The --line value of a simulated line on which nothing happens.
    std::string quietLine() const { return "sim:" + m_dir.file("empty.scenario"); }
    /// Writes config/config.dat.
    void writeConfig(const std::string& content) const;
    const TempDir& dir() const { return m_dir; }

private:
    TempDir m_dir;
    std::unique_ptr<ScopedEnv> m_runtime;
};
