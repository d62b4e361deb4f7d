#include "filebytes.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <new>
#include <random>

namespace telvane {

std::optional<std::string> read_file_bytes(const std::string& path, std::string* error) {
    // A folder opens for reading on some systems and tells a size of 2^63 - 1: it is no file.
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec)) {
        if (error)
            *error = path + ": " + std::strerror(EISDIR);
        return std::nullopt;
    }
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) {
        if (error)
            *error = path + ": " + std::strerror(errno);
        return std::nullopt;
    }
    std::string bytes;
    bool failed = false;
    try {
        // Reserve the size up front where it is known, so a big file is not copied while growing.
        if (std::fseek(f, 0, SEEK_END) == 0) {
            const long size = std::ftell(f);
            if (size > 0)
                bytes.reserve(static_cast<std::size_t>(size));
            std::rewind(f);
        }
        char buf[1 << 16];
        std::size_t n = 0;
        while ((n = std::fread(buf, 1, sizeof buf, f)) > 0)
            bytes.append(buf, n);
        failed = std::ferror(f) != 0;
    } catch (const std::bad_alloc&) {
        std::fclose(f);
        if (error)
            *error = path + ": the file is too large to be read into memory";
        return std::nullopt;
    }
    std::fclose(f);
    if (failed) {
        if (error)
            *error = path + ": read error";
        return std::nullopt;
    }
    return bytes;
}

namespace {

// A name beside the target that no other save picks at the same time.
std::filesystem::path temp_name(const std::filesystem::path& target) {
    std::random_device rd;
    return target.parent_path() /
           (target.filename().string() + ".tmp" + std::to_string(rd() % 100000));
}

} // namespace

bool write_file_atomic(const std::string& path, std::string_view bytes, std::string* error) {
    namespace fs = std::filesystem;
    const fs::path target(path);
    const fs::path temp = temp_name(target);
    auto fail = [&](const std::string& what) {
        if (error)
            *error = what;
        std::error_code ec;
        fs::remove(temp, ec);
        return false;
    };
    std::FILE* f = std::fopen(temp.string().c_str(), "wb");
    if (!f)
        return fail(temp.string() + ": " + std::strerror(errno));
    // An empty text may have no buffer at all, and fwrite takes no null pointer.
    const bool written =
        bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    const bool flushed = std::fflush(f) == 0;
    const bool closed = std::fclose(f) == 0;
    if (!written || !flushed || !closed)
        return fail(path + ": write error");
    std::error_code ec;
    fs::rename(temp, target, ec);
    if (ec)
        return fail(path + ": " + ec.message());
    return true;
}

StreamedFile::StreamedFile(const std::string& path)
    : path_(path), temp_(temp_name(std::filesystem::path(path)).string()) {
    file_ = std::fopen(temp_.c_str(), "wb");
    if (!file_)
        error_ = temp_ + ": " + std::strerror(errno);
    buffer_.reserve(kChunk + (kChunk >> 2));
}

StreamedFile::~StreamedFile() {
    if (file_)
        std::fclose(file_);
    if (!temp_.empty()) {
        std::error_code ec;
        std::filesystem::remove(temp_, ec);
    }
}

void StreamedFile::flush() {
    if (file_ && error_.empty() && !buffer_.empty() &&
        std::fwrite(buffer_.data(), 1, buffer_.size(), file_) != buffer_.size())
        error_ = path_ + ": write error";
    buffer_.clear();
}

bool StreamedFile::commit(std::string* error) {
    flush();
    if (file_) {
        const bool closed = std::fclose(file_) == 0;
        file_ = nullptr;
        if (!closed && error_.empty())
            error_ = path_ + ": write error";
    }
    if (error_.empty()) {
        std::error_code ec;
        std::filesystem::rename(temp_, path_, ec);
        if (ec)
            error_ = path_ + ": " + ec.message();
        else
            temp_.clear(); // in place: nothing to remove
    }
    if (!error_.empty() && error)
        *error = error_;
    return error_.empty();
}

} // namespace telvane
