#pragma once

#include "support/UserPrompt.h"

/// Message boxes and input boxes of the desktop.
class QtUserPrompt : public UserPrompt {
public:
    void message(const std::string& text, const std::string& title, PromptIcon icon) override;
    bool question(const std::string& text, const std::string& title) override;
    std::optional<std::string> input(const std::string& prompt, const std::string& title,
                                     const std::string& defaultText) override;
};
