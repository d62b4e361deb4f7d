// Peak memory of loading a 1,000,000-record job text file the way the Open command does
// (read the file, split it into line views, load), as a multiple of the file's size.
#include "jobtext_data.h"
#include "model/filebytes.h"

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>

namespace {
long peak_rss_kib() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return u.ru_maxrss;
}
} // namespace

int main(int argc, char** argv) {
    const std::string path = argc > 1 ? argv[1] : "/tmp/telvane_bench_job.txt";
    // The file is made in a child process, so the generator's memory never counts in our peak.
    const pid_t child = fork();
    if (child == 0) {
        const std::string bytes = telvane::bench::make_job_text(1000000);
        _exit(telvane::write_file_atomic(path, bytes) ? 0 : 1);
    }
    int status = 0;
    waitpid(child, &status, 0);
    if (child < 0 || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::fprintf(stderr, "cannot write %s\n", path.c_str());
        return 1;
    }
    auto bytes = telvane::read_file_bytes(path);
    if (!bytes)
        return 1;
    const double file_mb = static_cast<double>(bytes->size()) / 1e6;
    telvane::Job job;
    const auto result = telvane::load_job_text(telvane::split_line_views(*bytes), job);
    bytes.reset();
    std::printf("records %zu, load %s\n", job.RecordList.size(), std::string(result).c_str());
    std::printf("file %.1f MB, peak RSS %.1f MB, ratio %.2f\n", file_mb, peak_rss_kib() / 1024.0,
                peak_rss_kib() / 1024.0 / file_mb);
    return 0;
}
