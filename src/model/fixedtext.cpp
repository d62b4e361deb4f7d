#include "fixedtext.h"

namespace telvane {

namespace {
bool is_lead(unsigned char b) {
    return b >= 0x81 && b <= 0xFE;
}
} // namespace

std::size_t gbk_cut_length(std::string_view s, std::size_t max_bytes) {
    if (s.size() <= max_bytes)
        return s.size();
    std::size_t i = 0;
    while (i < max_bytes) {
        const std::size_t step = is_lead(static_cast<unsigned char>(s[i])) ? 2 : 1;
        if (i + step > max_bytes)
            break;
        i += step;
    }
    return i;
}

bool is_gbk_pair(std::string_view s, std::size_t i) {
    if (i + 1 >= s.size() || !is_lead(static_cast<unsigned char>(s[i])))
        return false;
    const auto t = static_cast<unsigned char>(s[i + 1]);
    return t >= 0x40 && t <= 0xFE && t != 0x7F;
}

} // namespace telvane
