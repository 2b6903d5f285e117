#include "stores/OriginQuery.h"

#include "stores/OriginLookup.h"

#include <ostream>

int runOriginQuery(const std::string& number, const std::string& countryPrefix,
                   const std::string& prefixDir, std::ostream& out) {
    OriginLookup lookup;
    if (!lookup.load(countryPrefix, prefixDir)) {
        return 2;
    }
    const std::string origin = lookup.originOf(number);
    if (origin.empty()) {
        return 1;
    }
    out << origin << '\n';
    return 0;
}
