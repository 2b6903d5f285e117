#pragma once

#include "support/UserPrompt.h"

#include <deque>
#include <string>
#include <vector>

/// Answers message boxes, questions and input boxes from a script and records what was asked.
class ScriptedPrompt : public UserPrompt {
public:
    struct Shown {
        std::string text;
        std::string title;
        PromptIcon icon;
    };

    void message(const std::string& text, const std::string& title, PromptIcon icon) override {
        shown.push_back({text, title, icon});
    }
    bool question(const std::string& text, const std::string& title) override {
        shown.push_back({text, title, PromptIcon::Question});
        if (answers.empty()) {
            return false;
        }
        const bool yes = answers.front();
        answers.pop_front();
        return yes;
    }
    std::optional<std::string> input(const std::string& prompt, const std::string& title,
                                     const std::string&) override {
        shown.push_back({prompt, title, PromptIcon::Question});
        if (inputs.empty()) {
            return std::nullopt;
        }
        auto next = inputs.front();
        inputs.pop_front();
        return next;
    }

    std::deque<bool> answers;                      // for questions; none left means No
    std::deque<std::optional<std::string>> inputs; // for input boxes; none left means Cancel
    std::vector<Shown> shown;
};
