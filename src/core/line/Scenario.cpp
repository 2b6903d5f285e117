#include "line/Scenario.h"

#include "support/AsciiText.h"
#include "support/TextFile.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <iostream>
#include <map>

namespace {

std::vector<std::string_view> splitBlanks(std::string_view text) {
    std::vector<std::string_view> words;
    std::size_t pos = 0;
    while (pos < text.size()) {
        while (pos < text.size() && (text[pos] == ' ' || text[pos] == '\t')) {
            ++pos;
        }
        const auto start = pos;
        while (pos < text.size() && text[pos] != ' ' && text[pos] != '\t') {
            ++pos;
        }
        if (pos > start) {
            words.push_back(text.substr(start, pos - start));
        }
    }
    return words;
}

std::string_view trim(std::string_view text) {
    return ascii::trimmed(text, " \t\r");
}

/// A decimal or 0x-hex number no larger than max.
std::optional<std::uint32_t> parseNumber(std::string_view text, std::uint32_t max) {
    int base = 10;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        text.remove_prefix(2);
        base = 16;
    }
    std::uint32_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() || value > max) {
        return std::nullopt;
    }
    return value;
}

// Digits or nothing.
bool isDigits(std::string_view text) {
    return text.empty() || ascii::isAllDigits(text);
}

struct LineError {
    std::string reason;
};

using Keys = std::map<std::string, std::string, std::less<>>;

Keys parseKeys(const std::vector<std::string_view>& words,
               std::initializer_list<std::string_view> allowed) {
    Keys keys;
    for (std::size_t i = 1; i < words.size(); ++i) {
        const auto equals = words[i].find('=');
        if (equals == std::string_view::npos) {
            throw LineError{"expected key=value, got \"" + std::string(words[i]) + "\""};
        }
        const auto key = words[i].substr(0, equals);
        if (std::find(allowed.begin(), allowed.end(), key) == allowed.end()) {
            throw LineError{"unknown key \"" + std::string(key) + "\""};
        }
        if (!keys.emplace(std::string(key), std::string(words[i].substr(equals + 1))).second) {
            throw LineError{"key \"" + std::string(key) + "\" given twice"};
        }
    }
    return keys;
}

std::uint32_t numberKey(const Keys& keys, std::string_view key, std::uint32_t max,
                        std::optional<std::uint32_t> fallback) {
    const auto found = keys.find(key);
    if (found == keys.end()) {
        if (!fallback) {
            throw LineError{"missing " + std::string(key) + "="};
        }
        return *fallback;
    }
    const auto value = parseNumber(found->second, max);
    if (!value) {
        throw LineError{"bad number for " + std::string(key) + ": \"" + found->second + "\""};
    }
    return *value;
}

ScenarioStep parseCall(const std::vector<std::string_view>& words) {
    const auto keys =
        parseKeys(words, {"plci", "called", "calling", "octet3", "octet3a", "cip", "controller"});
    ScenarioStep step;
    step.kind = ScenarioStep::Kind::Call;
    auto& call = step.call;
    call.plci = numberKey(keys, "plci", 0xFFFFFFFF, std::nullopt);
    const auto called = keys.find("called");
    if (called == keys.end()) {
        throw LineError{"missing called="};
    }
    if (!isDigits(called->second) || called->second.size() > 40) {
        throw LineError{"called= must be up to 40 digits"};
    }
    call.calledDigits = called->second;
    const auto calling = keys.find("calling");
    if (calling == keys.end()) {
        throw LineError{"missing calling="};
    }
    if (calling->second == "none") {
        call.callingDigits.reset();
    } else if (isDigits(calling->second) && calling->second.size() <= 40) {
        call.callingDigits = calling->second;
    } else {
        throw LineError{"calling= must be up to 40 digits or none"};
    }
    call.octet3 = static_cast<std::uint8_t>(numberKey(keys, "octet3", 0xFF, 0x21));
    call.octet3a = static_cast<std::uint8_t>(numberKey(keys, "octet3a", 0xFF, 0x80));
    call.cip = static_cast<std::uint16_t>(numberKey(keys, "cip", 0xFFFF, 1));
    if (keys.contains("controller")) {
        // The controller is the low byte of the PLCI.
        const auto controller = numberKey(keys, "controller", 0x7F, std::nullopt);
        call.plci = (call.plci & 0xFFFFFF00u) | controller;
    }
    return step;
}

ScenarioStep parseLine(std::string_view line) {
    const auto words = splitBlanks(line);
    const auto command = words.front();
    ScenarioStep step;
    if (command == "wait") {
        if (words.size() != 2) {
            throw LineError{"wait takes one number of seconds"};
        }
        double seconds = 0;
        const auto [end, error] = std::from_chars(
            words[1].data(), words[1].data() + words[1].size(), seconds, std::chars_format::fixed);
        if (error != std::errc() || end != words[1].data() + words[1].size() ||
            !std::isfinite(seconds) || seconds < 0 || seconds > 86400) {
            throw LineError{"bad number of seconds \"" + std::string(words[1]) + "\""};
        }
        step.kind = ScenarioStep::Kind::Wait;
        step.seconds = seconds;
    } else if (command == "call") {
        step = parseCall(words);
    } else if (command == "hangup") {
        const auto keys = parseKeys(words, {"plci", "reason"});
        step.kind = ScenarioStep::Kind::Hangup;
        step.call.plci = numberKey(keys, "plci", 0xFFFFFFFF, std::nullopt);
        step.reason = static_cast<std::uint16_t>(numberKey(keys, "reason", 0xFFFF, 0x3490));
    } else if (command == "info") {
        const auto keys = parseKeys(words, {"plci"});
        step.kind = ScenarioStep::Kind::Info;
        step.call.plci = numberKey(keys, "plci", 0xFFFFFFFF, std::nullopt);
    } else if (command == "raw") {
        if (words.size() < 2) {
            throw LineError{"raw needs at least one byte"};
        }
        step.kind = ScenarioStep::Kind::Raw;
        for (std::size_t i = 1; i < words.size(); ++i) {
            auto word = words[i];
            if (word.size() > 2 && word[0] == '0' && (word[1] == 'x' || word[1] == 'X')) {
                word.remove_prefix(2);
            }
            std::uint32_t value = 0;
            const auto [end, error] =
                std::from_chars(word.data(), word.data() + word.size(), value, 16);
            if (word.empty() || word.size() > 2 || error != std::errc() ||
                end != word.data() + word.size()) {
                throw LineError{"bad byte \"" + std::string(words[i]) + "\""};
            }
            step.raw.push_back(static_cast<std::uint8_t>(value));
        }
    } else if (command == "drop" || command == "restore") {
        if (words.size() != 1) {
            throw LineError{std::string(command) + " takes nothing"};
        }
        step.kind = command == "drop" ? ScenarioStep::Kind::Drop : ScenarioStep::Kind::Restore;
    } else if (command == "transcript") {
        const auto path = trim(line.substr(line.find("transcript") + 10));
        if (path.empty()) {
            throw LineError{"transcript needs a path"};
        }
        step.kind = ScenarioStep::Kind::Transcript;
        step.path = std::string(path);
    } else {
        throw LineError{"unknown command \"" + std::string(command) + "\""};
    }
    return step;
}

} // namespace

Scenario parseScenario(std::string_view text) {
    if (text.starts_with("\xEF\xBB\xBF")) {
        text.remove_prefix(3);
    }
    Scenario scenario;
    const auto lines = splitLines(text);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const int number = static_cast<int>(i) + 1;
        auto line = std::string_view(lines[i]);
        line = trim(line.substr(0, line.find('#')));
        if (line.empty()) {
            continue;
        }
        try {
            auto step = parseLine(line);
            step.line = number;
            scenario.steps.push_back(std::move(step));
        } catch (const LineError& error) {
            scenario.problems.push_back({number, error.reason});
        }
    }
    return scenario;
}

std::optional<Scenario> readScenarioFile(const std::string& path) {
    const auto bytes = readFileBytes(path);
    if (!bytes) {
        return std::nullopt;
    }
    auto scenario = parseScenario(*bytes);
    for (const auto& problem : scenario.problems) {
        std::cerr << path << ":" << problem.line << ": " << problem.reason << ", line skipped\n";
    }
    return scenario;
}
