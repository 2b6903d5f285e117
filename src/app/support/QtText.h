#pragma once

#include <QString>

#include <string>

// The core speaks UTF-8 std::string, Qt speaks QString.
inline QString qs(const std::string& text) {
    return QString::fromStdString(text);
}
inline std::string ss(const QString& text) {
    return text.toStdString();
}
