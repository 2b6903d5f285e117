#include "support/UserPrompt.h"

#include <iostream>

std::string HeadlessPrompt::oneLine(const std::string& text, const std::string& title) {
    std::string line = "Rufwacht: ";
    if (!title.empty()) {
        line += title + ": ";
    }
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            continue;
        }
        line.push_back(text[i] == '\n' || text[i] == '\r' ? ' ' : text[i]);
    }
    return line;
}

void HeadlessPrompt::message(const std::string& text, const std::string& title, PromptIcon) {
    std::cerr << oneLine(text, title) << std::endl;
}

bool HeadlessPrompt::question(const std::string& text, const std::string& title) {
    std::cerr << oneLine(text, title) << " -> Yes" << std::endl;
    return true;
}

std::optional<std::string> HeadlessPrompt::input(const std::string& prompt,
                                                 const std::string& title, const std::string&) {
    std::cerr << oneLine(prompt, title) << " -> (no input without a display)" << std::endl;
    return std::nullopt;
}
