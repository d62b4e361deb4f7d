// The capture file of a receive: every byte that arrives is appended as it arrives, so that
// nothing the instrument sent is lost to a closed program, a crash, Stop, a pulled cable or data
// that no reader accepts. One file per transfer, named by date and time; the newest are kept.
#pragma once

#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>

namespace telvane {

inline constexpr std::size_t kCapturesKept = 40;

class CaptureFile {
public:
    CaptureFile() = default;
    ~CaptureFile() { end(); }
    CaptureFile(const CaptureFile&) = delete;
    CaptureFile& operator=(const CaptureFile&) = delete;

    // Starts a new file "receive-YYYYMMDD-HHMMSS.txt" in `folder` (made when missing) and
    // removes the oldest captures beyond `keep`. False with the reason when it cannot be made;
    // the transfer goes on without one.
    bool begin(const std::filesystem::path& folder, std::string* error = nullptr,
               std::size_t keep = kCapturesKept);
    // Appends and flushes; false when the file could not take the bytes.
    bool append(std::string_view bytes);
    void end();

    bool active() const { return file_ != nullptr; }
    const std::filesystem::path& path() const { return path_; }

private:
    std::FILE* file_ = nullptr;
    std::filesystem::path path_;
};

} // namespace telvane
