#pragma once

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <utility>

/// A store over its file in a fresh folder: load() writes the bytes and loads them, file()
/// reads back what the store wrote.
template <class Store> class StoreFixture : public ::testing::Test {
protected:
    explicit StoreFixture(std::string name) : m_name(std::move(name)) {}

    bool load(const std::string& bytes) {
        dir.write(m_name, bytes);
        return store.load(path());
    }
    std::string path() const { return dir.file(m_name); }
    std::string file() const { return dir.read(m_name); }

    TempDir dir;
    Store store;

private:
    std::string m_name;
};

/// Bytes of any value, the same for the same seed: a file that must load without harm.
inline std::string randomBytes(unsigned seed, std::size_t size) {
    std::mt19937 random(seed);
    std::string bytes(size, '\0');
    for (auto& byte : bytes) {
        byte = static_cast<char>(random() % 256);
    }
    return bytes;
}
