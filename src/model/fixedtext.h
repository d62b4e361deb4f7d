// Fixed-size text fields of the survey records.
//
// Names, codes and notes are bytes in the instrument's code page (GBK). A field holds at most
// Capacity - 1 bytes; longer input is cut at the last whole character, so a double-byte Chinese
// character is never split in half (half a character would corrupt every file written from it).
#pragma once

#include <array>
#include <cstddef>
#include <cstring>
#include <string>
#include <string_view>

namespace telvane {

// The length of the longest prefix of s that fits into max_bytes without splitting a GBK
// double-byte character (lead byte 0x81..0xFE followed by any byte).
std::size_t gbk_cut_length(std::string_view s, std::size_t max_bytes);

// True when the byte at s[i] starts a well-formed GBK double-byte character
// (lead 0x81..0xFE, trail 0x40..0xFE except 0x7F).
bool is_gbk_pair(std::string_view s, std::size_t i);

template <std::size_t Capacity> class FixedText {
public:
    static constexpr std::size_t max_length = Capacity - 1;

    FixedText() { bytes_.fill('\0'); }
    // Implicit on purpose: a field is filled from text the way a char array is.
    FixedText(std::string_view s) { assign(s); }
    FixedText(const char* s) { assign(s); }
    FixedText(const std::string& s) { assign(s); }

    // Stores s cut to max_length bytes at a character boundary. Text ends at a NUL byte.
    void assign(std::string_view s) {
        const auto nul = s.find('\0');
        if (nul != std::string_view::npos)
            s = s.substr(0, nul);
        const std::size_t n = gbk_cut_length(s, max_length);
        std::memcpy(bytes_.data(), s.data(), n);
        std::memset(bytes_.data() + n, 0, Capacity - n);
        length_ = static_cast<unsigned short>(n);
    }

    std::string_view view() const { return {bytes_.data(), length_}; }
    std::string str() const { return std::string(view()); }
    bool empty() const { return length_ == 0; }
    std::size_t size() const { return length_; }

    friend bool operator==(const FixedText& a, std::string_view b) { return a.view() == b; }

private:
    std::array<char, Capacity> bytes_;
    unsigned short length_ = 0;
};

// A template, so that comparing with a string literal picks the string_view form unambiguously.
template <std::size_t N> bool operator==(const FixedText<N>& a, const FixedText<N>& b) {
    return a.view() == b.view();
}

using NameField = FixedText<16>; // char[16]: 15 bytes and the terminator

} // namespace telvane
