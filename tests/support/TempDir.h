#pragma once

#include <string>

/// A fresh folder for one test, removed with everything in it when the test ends.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    /// The folder with a trailing "/".
    const std::string& path() const { return m_path; }
    std::string file(const std::string& name) const { return m_path + name; }

    /// Writes raw bytes to a file in the folder and returns its path.
    std::string write(const std::string& name, const std::string& bytes) const;
    /// The raw bytes of a file in the folder (empty when missing).
    std::string read(const std::string& name) const;

private:
    std::string m_path;
};

/// Sets an environment variable for the lifetime of the guard, then restores it.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const char* value);
    ~ScopedEnv();
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    std::string m_name;
    std::string m_old;
    bool m_hadOld = false;
};
