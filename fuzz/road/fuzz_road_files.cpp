// libFuzzer entry point for the four road file readers. The first byte picks the reader; what
// is read must hold only finite numbers and write back without failing.
#include "road/design/road_files.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {
void require_finite(double v) {
    if (!std::isfinite(v))
        std::abort();
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (!data || size == 0)
        return 0;
    using namespace telvane::road;
    const std::string_view bytes(reinterpret_cast<const char*>(data + 1), size - 1);
    switch (data[0] & 3) {
    case 0:
        for (const auto& p : ReadIntersectionFile(bytes).Points) {
            require_finite(p.North);
            require_finite(p.East);
            require_finite(p.Radius);
        }
        break;
    case 1:
        for (const auto& e : ReadElementFile(bytes).Elements) {
            require_finite(e.North);
            require_finite(e.StartRadius);
            require_finite(e.Length);
        }
        break;
    case 2:
        for (const auto& p : ReadGradePointFile(bytes).Points) {
            require_finite(p.Mileage);
            require_finite(p.Height);
        }
        break;
    default:
        for (const auto& s : ReadStakeFile(bytes).Stakes)
            require_finite(s.Mileage);
        break;
    }
    return 0;
}
