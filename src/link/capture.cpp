#include "capture.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <ctime>
#include <system_error>
#include <vector>

namespace telvane {

namespace {

constexpr std::string_view kPrefix = "receive-";
constexpr std::string_view kSuffix = ".txt";

std::string stamp() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
#ifdef _WIN32
    localtime_s(&local, &now);
#else
    localtime_r(&now, &local);
#endif
    char text[32];
    std::strftime(text, sizeof text, "%Y%m%d-%H%M%S", &local);
    return text;
}

// Capture names sort as their times do.
void remove_oldest(const std::filesystem::path& folder, const std::filesystem::path& newest,
                   std::size_t keep) {
    std::vector<std::filesystem::path> captures;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(folder, ec)) {
        const std::string name = entry.path().filename().string();
        if (name.size() > kPrefix.size() + kSuffix.size() && name.starts_with(kPrefix) &&
            name.ends_with(kSuffix) && entry.path() != newest)
            captures.push_back(entry.path());
    }
    // The newest one is kept besides these.
    if (captures.size() + 1 <= keep)
        return;
    std::sort(captures.begin(), captures.end());
    for (std::size_t i = 0; i + keep < captures.size() + 1; ++i)
        std::filesystem::remove(captures[i], ec);
}

} // namespace

bool CaptureFile::begin(const std::filesystem::path& folder, std::string* error, std::size_t keep) {
    end();
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    const std::string base = std::string(kPrefix) + stamp();
    // Two receives within one second get "-2", "-3", ...
    std::filesystem::path path = folder / (base + std::string(kSuffix));
    for (int n = 2; std::filesystem::exists(path, ec); ++n)
        path = folder / (base + "-" + std::to_string(n) + std::string(kSuffix));
    file_ = std::fopen(path.string().c_str(), "wb");
    if (!file_) {
        if (error)
            *error = std::strerror(errno);
        return false;
    }
    path_ = path;
    remove_oldest(folder, path, std::max<std::size_t>(keep, 1));
    return true;
}

bool CaptureFile::append(std::string_view bytes) {
    if (!file_)
        return false;
    if (bytes.empty())
        return true; // nothing to add, and fwrite takes no null pointer
    const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), file_) == bytes.size() &&
                    std::fflush(file_) == 0;
    return ok;
}

void CaptureFile::end() {
    if (file_)
        std::fclose(file_);
    file_ = nullptr;
}

} // namespace telvane
