// The simulated line's scenario files.
#include "FuzzInput.h"
#include "line/Scenario.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    parseScenario(fuzz::text(data, size));
    return 0;
}
