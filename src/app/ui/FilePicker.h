#pragma once

#include <optional>
#include <string>

class QWidget;

/// File dialogs: the desktop shows them, tests answer from a script. Filters are in Qt's form,
/// e.g. "Pics (*.bmp *.jpg)"; nothing comes back when the user cancels.
class FilePicker {
public:
    virtual ~FilePicker() = default;

    /// An existing file, starting at startPath (a file or a folder; empty for the default).
    virtual std::optional<std::string> openFile(QWidget* parent, const std::string& filter,
                                                const std::string& startPath) = 0;
    /// A file to write; asks before an existing file is replaced and adds no extension.
    virtual std::optional<std::string> saveFile(QWidget* parent, const std::string& filter,
                                                const std::string& startPath) = 0;
};

/// The desktop's file dialogs.
class QtFilePicker : public FilePicker {
public:
    std::optional<std::string> openFile(QWidget* parent, const std::string& filter,
                                        const std::string& startPath) override;
    std::optional<std::string> saveFile(QWidget* parent, const std::string& filter,
                                        const std::string& startPath) override;
};
