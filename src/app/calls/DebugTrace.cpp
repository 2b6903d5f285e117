#include "calls/DebugTrace.h"

#include "support/QtText.h"

#include <iostream>

namespace {

const QString kHeader = QStringLiteral("---DEBUG---\r\n");

} // namespace

DebugTrace::DebugTrace(bool echoToStderr, QObject* parent)
    : QObject(parent), m_echoToStderr(echoToStderr), m_text(kHeader) {}

DebugTrace::~DebugTrace() = default;

void DebugTrace::append(const QString& text) {
    m_text += text;
    if (m_text.size() > kMaxCharacters) {
        dropOldestLines();
    }
    if (m_echoToStderr) {
        const QString line = text.trimmed().replace("\r\n", " ");
        if (!line.isEmpty()) {
            std::cerr << ss(line) << std::endl;
        }
    }
    emit appended(text);
}

// Cuts whole lines after the header down to three quarters of the limit, so that the cut
// happens once per many additions.
void DebugTrace::dropOldestLines() {
    const qsizetype excess = m_text.size() - kMaxCharacters * 3 / 4;
    qsizetype cut = m_text.indexOf("\r\n", kHeader.size() + excess);
    cut = cut < 0 ? m_text.size() : cut;
    m_text.remove(kHeader.size(), cut - kHeader.size());
}
