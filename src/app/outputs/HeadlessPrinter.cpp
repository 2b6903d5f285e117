#include "outputs/HeadlessPrinter.h"

#include "stores/LanguageIds.h"
#include "stores/LanguageTable.h"

#include <cstdio>

HeadlessPrinter::HeadlessPrinter(const LanguageTable& language)
    : m_words{language.text(lang_id::kHeadlessForMsn), language.text(lang_id::kHeadlessMissed)} {}

void HeadlessPrinter::publish(const CallEvent& event) {
    if (m_broken) {
        return;
    }
    const std::string line = headlessLine(event, m_words) + "\n";
    // A pipe (a service's journal) sees every line at once; one whose reader is gone is left.
    m_broken = std::fputs(line.c_str(), stdout) == EOF || std::fflush(stdout) == EOF;
}
