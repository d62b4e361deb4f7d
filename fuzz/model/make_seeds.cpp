// Writes the seed corpus of the binary reader fuzz targets: small valid files of each format,
// one record of every type the format knows. Run it to refresh fuzz/model/corpus/.
#include "lebytes.h"

#include <filesystem>
#include <fstream>
#include <string>

using telvane::testing::Record;

namespace {

void write(const std::filesystem::path& dir, const std::string& name, const std::string& bytes) {
    std::filesystem::create_directories(dir);
    std::ofstream(dir / name, std::ios::binary) << bytes;
}

std::string records(std::size_t size, std::size_t type_off, std::initializer_list<int> types,
                    std::size_t name_off) {
    std::string out;
    for (int t : types) {
        Record r(size);
        r.i8(type_off, t).text(name_off, "P" + std::to_string(t));
        for (std::size_t off = 24; off + 8 <= size; off += 8)
            r.f64(off, 100.0 + static_cast<double>(off));
        r.i8(type_off, t);
        out += r.bytes();
    }
    return out;
}

} // namespace

int main(int argc, char** argv) {
    const std::filesystem::path root = argc > 1 ? argv[1] : "fuzz/model/corpus";
    write(root / "job48", "seed", "\x01" + records(48, 0, {1, 4, 2, 3, 5, 6, 7, 8, 13}, 1));
    write(root / "job56", "seed", "\x02" + records(56, 0, {1, 2, 3, 4, 5, 6, 7, 8}, 1));
    write(root / "job96", "seed",
          std::string(96, '\0') + records(96, 0, {1, 2, 3, 4, 5, 6, 7, 8, 10, 11}, 1));
    write(root / "job112", "seed",
          std::string(112, '\0') + records(112, 0, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}, 1));
    write(root / "job136", "seed",
          std::string(48, '\0') + records(136, 0, {1, 2, 3, 4, 5, 6, 7}, 16));
    write(root / "points56", "seed", records(56, 0, {11, 10, 11}, 1));
    write(root / "points40", "seed", records(40, 39, {0, 0}, 0));
    write(root / "jobtext", "seed",
          "JOB     J\r\nINST    I\r\nSTA     S,1.5,C\r\nXYZ     1,2,3\r\nBS      B,1\r\n"
          "HVD     1,2,3\r\nSC      B,1,BSS\r\nENZ     1,2,3\r\nBKB     K,1,2\r\nSA      A,1,C\r\n"
          "HV      1,2\r\nSD      D,1,C\r\nHVD     1,2,3\r\nSC      D,1,C\r\nNEZ     1,2,3\r\n"
          "NOTE    n,o\r\n");
    return 0;
}
