// Bounds-checked little-endian reading of the instrument's binary files.
//
// Every field is read through these helpers: no struct casts, no read past the bytes given.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

namespace telvane {

// One fixed-size record. An offset beyond the record reads as zero bytes, never outside.
class RecordBytes {
public:
    explicit RecordBytes(std::string_view bytes) : b_(bytes) {}

    std::uint8_t u8(std::size_t off) const {
        return off < b_.size() ? static_cast<std::uint8_t>(b_[off]) : 0;
    }
    std::int8_t i8(std::size_t off) const { return static_cast<std::int8_t>(u8(off)); }
    std::uint32_t u32(std::size_t off) const { return static_cast<std::uint32_t>(le(off, 4)); }
    std::int32_t i32(std::size_t off) const { return static_cast<std::int32_t>(u32(off)); }
    float f32(std::size_t off) const { return std::bit_cast<float>(u32(off)); }
    double f64(std::size_t off) const { return std::bit_cast<double>(le(off, 8)); }

    // A NUL-terminated text inside a span: up to its NUL, at most the whole span.
    std::string_view text(std::size_t off, std::size_t span) const {
        if (off >= b_.size())
            return {};
        const std::string_view field = b_.substr(off, span);
        return field.substr(0, field.find('\0'));
    }

private:
    std::uint64_t le(std::size_t off, std::size_t n) const {
        std::uint64_t v = 0;
        for (std::size_t i = 0; i < n; ++i)
            v |= static_cast<std::uint64_t>(u8(off + i)) << (8 * i);
        return v;
    }
    std::string_view b_;
};

// Walks a file's bytes record by record.
class ByteCursor {
public:
    explicit ByteCursor(std::string_view bytes) : b_(bytes) {}

    enum class Take { Ok, End, Short };

    // The next n bytes: Ok, End when nothing is left, Short when fewer than n remain.
    Take take(std::size_t n, std::string_view& out) {
        if (pos_ >= b_.size())
            return Take::End;
        if (b_.size() - pos_ < n)
            return Take::Short;
        out = b_.substr(pos_, n);
        pos_ += n;
        return Take::Ok;
    }
    bool at_end() const { return pos_ >= b_.size(); }

private:
    std::string_view b_;
    std::size_t pos_ = 0;
};

} // namespace telvane
