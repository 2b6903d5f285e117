#include "ui/FilePicker.h"

#include "support/QtText.h"

#include <QDir>
#include <QFileDialog>

namespace {

// The path as the user picked it, in the platform's spelling.
std::optional<std::string> picked(const QString& path) {
    if (path.isEmpty()) {
        return std::nullopt;
    }
    return ss(QDir::toNativeSeparators(path));
}

} // namespace

std::optional<std::string> QtFilePicker::openFile(QWidget* parent, const std::string& filter,
                                                  const std::string& startPath) {
    return picked(QFileDialog::getOpenFileName(parent, QString(), qs(startPath), qs(filter)));
}

std::optional<std::string> QtFilePicker::saveFile(QWidget* parent, const std::string& filter,
                                                  const std::string& startPath) {
    return picked(QFileDialog::getSaveFileName(parent, QString(), qs(startPath), qs(filter)));
}
