#include "calls/DebugTrace.h"

#include "support/QtText.h"

#include <iostream>

DebugTrace::DebugTrace(bool echoToStderr, QObject* parent)
    : QObject(parent), m_echoToStderr(echoToStderr), m_text("---DEBUG---\r\n") {}

DebugTrace::~DebugTrace() = default;

namespace {

// A program that runs for months keeps only the newest part of its trace: several lines per
// call would otherwise grow the memory with every call.
constexpr qsizetype kMaxTraceCharacters = qsizetype{256} * 1024;

} // namespace

void DebugTrace::append(const QString& text) {
    m_text += text;
    if (m_text.size() > kMaxTraceCharacters) {
        const qsizetype cut = m_text.indexOf("\r\n", m_text.size() - kMaxTraceCharacters / 2);
        m_text.remove(0, cut < 0 ? m_text.size() - kMaxTraceCharacters / 2 : cut + 2);
        m_text.squeeze();
    }
    if (m_echoToStderr) {
        const QString line = text.trimmed().replace("\r\n", " ");
        if (!line.isEmpty()) {
            std::cerr << ss(line) << std::endl;
        }
    }
    emit appended(text);
}
