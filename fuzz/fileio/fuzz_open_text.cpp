// libFuzzer entry point for the Open command's text recognisers (road rows in their short and
// long forms, pile lists, DXF, GTS-7, job text, point rows, points with further values, code
// lists, record rows, stake files, point rows with a header or fewer columns). The first byte picks
// the file extension and the coordinate order, so the road readers and both orders are reached too.
#include "fileio/opendata.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (!data || size == 0)
        return 0;
    static const char* const kExtensions[] = {".TXT", ".PHI", ".SEC", ".PVI"};
    const char* extension = kExtensions[data[0] & 3];
    telvane::FileSettings settings;
    settings.order = (data[0] >> 2) & 1;
    settings.units.distance = 1 + ((data[0] >> 3) % 3);
    const std::string_view bytes(reinterpret_cast<const char*>(data + 1), size - 1);
    telvane::DataState state;
    telvane::Messages messages;
    telvane::open_text(telvane::split_lines(bytes), extension, state, settings, messages);
    // The kind and the road list are ones the program knows.
    if (state.Kind > telvane::DataKind::Road || state.Road > telvane::RoadList::Stakes)
        std::abort();
    return 0;
}
