// Builds binary test files byte by byte, little-endian, at explicit offsets.
#pragma once

#include <bit>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace telvane::testing {

class Record {
public:
    explicit Record(std::size_t size) : bytes_(size, '\0') {}

    Record& i8(std::size_t off, int v) {
        bytes_.at(off) = static_cast<char>(static_cast<std::uint8_t>(v));
        return *this;
    }
    Record& u32(std::size_t off, std::uint32_t v) { return le(off, v, 4); }
    Record& i32(std::size_t off, std::int32_t v) {
        return le(off, static_cast<std::uint32_t>(v), 4);
    }
    Record& f32(std::size_t off, float v) { return le(off, std::bit_cast<std::uint32_t>(v), 4); }
    Record& f64(std::size_t off, double v) { return le(off, std::bit_cast<std::uint64_t>(v), 8); }
    // Text without its NUL when it fills the span.
    Record& text(std::size_t off, std::string_view s) {
        for (std::size_t i = 0; i < s.size(); ++i)
            bytes_.at(off + i) = s[i];
        return *this;
    }
    const std::string& bytes() const { return bytes_; }
    operator const std::string&() const { return bytes_; }

private:
    Record& le(std::size_t off, std::uint64_t v, int n) {
        for (int i = 0; i < n; ++i)
            bytes_.at(off + static_cast<std::size_t>(i)) = static_cast<char>((v >> (8 * i)) & 0xFF);
        return *this;
    }
    std::string bytes_;
};

} // namespace telvane::testing
