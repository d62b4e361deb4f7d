// The big files the benchmarks of Open, Save and convert read: 1,000,000 point rows and a
// 1,000,000-record job text, made in the temporary folder. A file made by an earlier run is used
// as it is (the same rows), so a measurement of peak memory does not include making it.
#pragma once

#include "jobtext_data.h"
#include "model/filebytes.h"
#include "model/rows.h"

#include <filesystem>
#include <string>

namespace telvane::bench {

inline constexpr std::size_t kMillion = 1000000;

inline std::string temp_path(const char* name) {
    return (std::filesystem::temp_directory_path() / name).string();
}

inline std::string make_point_rows(std::size_t count) {
    std::string bytes;
    for (std::size_t i = 0; i < count; ++i) {
        const coord_item pt{
            "P" + std::to_string(i % 100000), "TREE", 3000000.0 + static_cast<double>(i) * 0.37,
            500000.0 + static_cast<double>(i) * 0.21, 40.0 + static_cast<double>(i % 100) * 0.01};
        bytes += coord_row(pt, 0, kOrderNEZ, {});
        bytes += "\r\n";
    }
    return bytes;
}

inline const std::string& point_rows_file() {
    static const std::string path = [] {
        const std::string p = temp_path("telvane_bench_points.csv");
        if (!std::filesystem::exists(p))
            write_file_atomic(p, make_point_rows(kMillion));
        return p;
    }();
    return path;
}

inline const std::string& job_text_file() {
    static const std::string path = [] {
        const std::string p = temp_path("telvane_bench_job.txt");
        if (!std::filesystem::exists(p))
            write_file_atomic(p, make_job_text(kMillion));
        return p;
    }();
    return path;
}

} // namespace telvane::bench
