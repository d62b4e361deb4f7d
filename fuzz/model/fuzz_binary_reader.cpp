// libFuzzer entry point for one binary reader, chosen at build time (TELVANE_FUZZ_READER).
// Every input must end in a result code; the sanitizers catch any read outside the bytes.
#include "model/binaryfiles.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), data ? size : 0);
    telvane::Lines lines;
    const int rc = telvane::TELVANE_FUZZ_READER(bytes, lines);
    if (rc != 0 && rc != -2 && rc != -3 && rc != -4 && rc != -6)
        std::abort();
    // Each line is keyword-led text of the job format: 8 columns and at least one field.
    for (const auto& line : lines)
        if (line.size() < 8)
            std::abort();
    return 0;
}
