// Runs a fuzz target's entry point once on every file of the given files or folders, so the seed
// corpus is exercised under ctest with any compiler (and under the sanitizers in the ASan build).
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {
int run_file(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "cannot read %s\n", path.string().c_str());
        return 1;
    }
    std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
    return 0;
}
} // namespace

int main(int argc, char** argv) {
    int failures = 0;
    int runs = 0;
    for (int i = 1; i < argc; ++i) {
        const std::filesystem::path arg(argv[i]);
        if (std::filesystem::is_directory(arg)) {
            for (const auto& entry : std::filesystem::recursive_directory_iterator(arg)) {
                if (entry.is_regular_file()) {
                    failures += run_file(entry.path());
                    ++runs;
                }
            }
        } else {
            failures += run_file(arg);
            ++runs;
        }
    }
    // Also the degenerate inputs every reader must survive.
    LLVMFuzzerTestOneInput(nullptr, 0);
    const std::uint8_t one = 0xFF;
    LLVMFuzzerTestOneInput(&one, 1);
    std::printf("replayed %d inputs\n", runs);
    return failures == 0 && runs > 0 ? 0 : 1;
}
