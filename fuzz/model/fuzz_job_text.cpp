// libFuzzer entry point for the job text load and the record-text test.
#include "model/jobtext.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), data ? size : 0);
    const telvane::Lines lines = telvane::split_lines(bytes);
    (void)telvane::is_record_text(lines);
    telvane::Job job;
    if (telvane::load_job_text(lines, job) == telvane::kLoadOk) {
        // Whatever loads writes a text that loads again to the same text.
        const telvane::Lines written = telvane::write_job_text(job);
        telvane::Job again;
        if (telvane::load_job_text(written, again) != telvane::kLoadOk ||
            telvane::write_job_text(again) != written)
            std::abort();
    }
    return 0;
}
