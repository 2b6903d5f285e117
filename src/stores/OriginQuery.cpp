#include "stores/OriginQuery.h"

#include "stores/Settings.h"
#include "stores/cVorwahlen.h"

#include <ostream>

int runOriginQuery(const std::string& number, std::ostream& out) {
    cVorwahlen lookup;
    if (!lookup.Init(settings().Prefix)) {
        return 1;
    }
    const std::string origin = lookup.getHerkunft(number);
    if (origin.empty()) {
        return 1;
    }
    out << origin << '\n';
    return 0;
}
