#include "outputs/HeadlessPrinter.h"

#include "stores/LanguageIds.h"
#include "stores/LanguageTable.h"

#include <cstdio>

HeadlessPrinter::HeadlessPrinter(const LanguageTable& language)
    : m_words{language.text(lang_id::kHeadlessForMsn), language.text(lang_id::kHeadlessMissed)} {}

void HeadlessPrinter::publish(const CallEvent& event) const {
    const std::string line = headlessLine(event, m_words) + "\n";
    std::fputs(line.c_str(), stdout);
    // A pipe (a service's journal) sees every line at once.
    std::fflush(stdout);
}
