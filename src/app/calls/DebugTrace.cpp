#include "calls/DebugTrace.h"

#include "support/QtText.h"

#include <iostream>

DebugTrace::DebugTrace(bool echoToStderr, QObject* parent)
    : QObject(parent), m_echoToStderr(echoToStderr), m_text("---DEBUG---\r\n") {}

DebugTrace::~DebugTrace() = default;

void DebugTrace::append(const QString& text) {
    m_text += text;
    if (m_echoToStderr) {
        const QString line = text.trimmed().replace("\r\n", " ");
        if (!line.isEmpty()) {
            std::cerr << ss(line) << std::endl;
        }
    }
    emit appended(text);
}
