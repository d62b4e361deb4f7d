#include "opendata.h"

#include "model/binaryfiles.h"
#include "model/fixedtext.h"
#include "model/jobtext.h"
#include "model/pointlisting.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

namespace telvane {

int content_test(std::string_view first_bytes) {
    const std::string_view head = first_bytes.substr(0, 100);
    if (head.empty())
        return kContentEmpty;
    for (std::size_t i = 0; i < head.size(); ++i) {
        const auto b = static_cast<unsigned char>(head[i]);
        if ((b >= 9 && b <= 13) || (b >= 32 && b <= 126))
            continue;
        // A Chinese name or code is text too. A pair cut by the 100-byte limit counts as whole.
        if (is_gbk_pair(head, i) || (i + 1 == head.size() && first_bytes.size() > head.size() &&
                                     is_gbk_pair(first_bytes, i))) {
            ++i;
            continue;
        }
        return kContentBinary;
    }
    return kContentText;
}

std::string_view content_result_key(int result) {
    switch (result) {
    case kContentCannotOpen:
        return "file_unable_open";
    case kContentEmpty:
        return "file_is_empty";
    case kContentReadError:
        return "file_read_error";
    default:
        return "file_undefined_error_code";
    }
}

namespace {

// The four characters from the first '.' of the file's name. Dots in folder names ("./",
// "j.smith") are not taken for the extension.
std::string binary_extension(const std::string& path) {
    const std::string name = std::filesystem::path(path).filename().string();
    const auto dot = name.find('.');
    if (dot == std::string::npos)
        return {};
    std::string ext = name.substr(dot, 4);
    for (char& c : ext)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return ext;
}

std::string base_name(const std::string& path) {
    const std::string stem = std::filesystem::path(path).stem().string();
    return stem.empty() ? "NONAME" : stem;
}

void open_binary_job(const std::string& path, std::string_view bytes, DataState& data,
                     Messages& messages) {
    Lines memo{"JOB     " + base_name(path), "INST    TotalStation"};
    const int rc = convert_job_bytes(path, bytes, memo);
    if (rc != kBinaryOk) {
        messages.push_back(UserMessage::key(std::string(binary_result_key(rc))));
        return;
    }
    Job job;
    const std::string_view result = load_job_text(memo, job);
    if (result != kLoadOk) {
        messages.push_back(UserMessage::text(std::string(result), "Error"));
        messages.push_back(UserMessage::key("wrong_format"));
        return;
    }
    data.RecordList = std::move(job.RecordList);
    data.JobName = std::move(job.JobName);
    data.InstName = std::move(job.InstName);
    data.CoordList.clear();
    data.CodeList.clear();
}

void open_binary_points(const std::string& path, std::string_view bytes, DataState& data,
                        Messages& messages) {
    Lines memo;
    const int rc = convert_coord_bytes(path, bytes, memo);
    if (rc != kBinaryOk) {
        messages.push_back(UserMessage::key(std::string(binary_result_key(rc))));
        return;
    }
    std::erase_if(memo, [](const std::string& l) { return trim(l).empty(); });
    std::vector<coord_item> points;
    if (read_point_listing(memo, points)) {
        data.RecordList.clear();
        data.CodeList.clear();
        data.CoordList = std::move(points);
    }
    data.DataKind = kDataPoints;
}

} // namespace

void open_binary(const std::string& path, std::string_view bytes, DataState& data,
                 Messages& messages) {
    const std::string ext = binary_extension(path);
    if (ext == ".mea" || ext == ".job" || ext == ".dat" || ext == ".jbf") {
        data.DataKind = kDataRecords;
        open_binary_job(path, bytes, data, messages);
    } else if (ext == ".coo" || ext == ".pts" || ext == ".cor" || ext == ".ptf") {
        open_binary_points(path, bytes, data, messages);
    } else {
        messages.push_back(UserMessage::key("wrong_format"));
    }
    messages.push_back(UserMessage::text("BINARY"));
}

} // namespace telvane
