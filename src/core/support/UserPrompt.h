#pragma once

#include <optional>
#include <string>

/// The icon of a message box, which also tells its kind.
enum class PromptIcon { Information, Question, Exclamation, Critical };

/// Message boxes, questions and input boxes. The desktop shows dialogs, the headless service
/// writes to stderr, and tests answer from a script.
class UserPrompt {
public:
    virtual ~UserPrompt() = default;

    /// A notice with one OK button. An empty title means the program's name.
    virtual void message(const std::string& text, const std::string& title, PromptIcon icon) = 0;

    /// A Yes/No question with the question icon; true for Yes.
    virtual bool question(const std::string& text, const std::string& title) = 0;

    /// An input box; nothing when the user cancels.
    virtual std::optional<std::string> input(const std::string& prompt, const std::string& title,
                                             const std::string& defaultText) = 0;
};

/// Without a display: every message is one line on stderr and every question is answered Yes.
class HeadlessPrompt : public UserPrompt {
public:
    void message(const std::string& text, const std::string& title, PromptIcon icon) override;
    bool question(const std::string& text, const std::string& title) override;
    std::optional<std::string> input(const std::string& prompt, const std::string& title,
                                     const std::string& defaultText) override;

    /// The one stderr line for a message: line breaks become blanks.
    static std::string oneLine(const std::string& text, const std::string& title);
};
