#include "model/gbk_utf8.h"

#include <algorithm>
#include <cerrno>
#include <iconv.h>
#include <stdexcept>

namespace telvane {

namespace {

// The length of the UTF-8 sequence that starts with `lead`, at least 1.
std::size_t utf8_length(unsigned char lead) {
    if (lead >= 0xF0)
        return 4;
    if (lead >= 0xE0)
        return 3;
    if (lead >= 0xC0)
        return 2;
    return 1;
}

// Converts `in`; a sequence iconv refuses (invalid, or cut off at the end) is passed over and
// `replacement` written in its place. A UTF-8 source skips the whole character, a GBK source
// one byte, so that the next character still has its chance.
std::string convert(const char* to, const char* from, std::string_view in,
                    std::string_view replacement) {
    if (std::all_of(in.begin(), in.end(), [](char c) { return (c & 0x80) == 0; }))
        return std::string(in); // both encodings agree on ASCII: the common case needs no iconv

    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1))
        throw std::runtime_error(std::string("no conversion from ") + from + " to " + to);
    const bool from_utf8 = std::string_view(from) == "UTF-8";
    std::string out;
    char buffer[256];
    char* src = const_cast<char*>(in.data()); // iconv's interface is not const-correct
    std::size_t src_left = in.size();
    while (src_left > 0) {
        char* dst = buffer;
        std::size_t dst_left = sizeof buffer;
        const std::size_t rc = iconv(cd, &src, &src_left, &dst, &dst_left);
        out.append(buffer, static_cast<std::size_t>(dst - buffer));
        if (rc == static_cast<std::size_t>(-1) && errno != E2BIG) {
            const std::size_t bad = from_utf8 ? utf8_length(static_cast<unsigned char>(*src)) : 1;
            const std::size_t n = std::min(bad, src_left);
            src += n;
            src_left -= n;
            out += replacement;
        }
    }
    iconv_close(cd);
    return out;
}

} // namespace

std::string gbk_to_utf8(std::string_view gbk) {
    return convert("UTF-8", "GBK", gbk, "\xEF\xBF\xBD");
}

std::string utf8_to_gbk(std::string_view utf8) {
    return convert("GBK", "UTF-8", utf8, "?");
}

} // namespace telvane
