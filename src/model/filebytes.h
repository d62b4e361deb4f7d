// Whole-file reading and atomic replacement.
#pragma once

#include <cstdio>
#include <optional>
#include <string>
#include <string_view>

namespace telvane {

// The file's bytes, or nothing when it cannot be read (error text in *error when given).
std::optional<std::string> read_file_bytes(const std::string& path, std::string* error = nullptr);

// Writes bytes to a temporary file beside `path` and renames it over `path`, so a failed save
// never leaves a half-written or emptied file behind. Returns false (with *error) on failure;
// the old file is then as it was.
bool write_file_atomic(const std::string& path, std::string_view bytes,
                       std::string* error = nullptr);

// A file written in pieces: the bytes go into a temporary file beside `path` as they are made,
// and that file replaces `path` only when commit() succeeds, so a big save needs no copy of the
// whole file in memory and a failed one still leaves the old file as it was. Without a commit
// the temporary file is removed.
class StreamedFile {
public:
    explicit StreamedFile(const std::string& path);
    ~StreamedFile();
    StreamedFile(const StreamedFile&) = delete;
    StreamedFile& operator=(const StreamedFile&) = delete;

    // Writers append to buffer() and call written() after each piece (a record, a point): the
    // buffer goes to the file once it holds a megabyte.
    std::string& buffer() { return buffer_; }
    void written() {
        if (buffer_.size() >= kChunk)
            flush();
    }
    // Writes the rest and puts the file in place; false with *error when the file system refused
    // (the old file is then as it was).
    bool commit(std::string* error = nullptr);

private:
    static constexpr std::size_t kChunk = 1 << 20;
    void flush();
    std::string path_, temp_;
    std::FILE* file_ = nullptr;
    std::string buffer_;
    std::string error_; // the first failure
};

// Where a writer puts its bytes: a string in memory, or a streamed file's buffer. `written()`
// after each piece lets a streamed file write out what it holds.
struct ByteSink {
    std::string& text;
    StreamedFile* file = nullptr;

    explicit ByteSink(std::string& into) : text(into) {}
    explicit ByteSink(StreamedFile& into) : text(into.buffer()), file(&into) {}
    void written() {
        if (file)
            file->written();
    }
};

} // namespace telvane
