// "--origin NUMBER" against the shipped origin tables (loaded once), and the tables' line
// parser over the input's lines.
#include "FuzzInput.h"
#include "stores/OriginLookup.h"
#include "support/TextFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const OriginLookup origins = [] {
        OriginLookup lookup;
        lookup.load("0049", RUFWACHT_SOURCE_DIR "/data/prefix/");
        return lookup;
    }();
    const std::string_view bytes = fuzz::text(data, size);
    origins.originOf(std::string(bytes));
    for (const auto& line : splitLines(bytes)) {
        std::uint32_t code = 0;
        std::string_view place;
        parsePrefixLine(line, code, place);
    }
    return 0;
}
