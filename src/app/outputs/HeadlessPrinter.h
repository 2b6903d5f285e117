#pragma once

#include "calls/CallEventTexts.h"

struct CallEvent;
class LanguageTable;

/// Prints one line per call step on standard output, for a headless program watched in a
/// terminal or a service's journal.
class HeadlessPrinter {
public:
    explicit HeadlessPrinter(const LanguageTable& language);

    void publish(const CallEvent& event);

private:
    HeadlessWords m_words;
    bool m_broken = false; // stdout cannot be written: printing stops
};
