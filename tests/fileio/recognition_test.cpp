// Every sample file the project keeps (the fuzz seeds and the examples) goes through Open, and
// what it opened as is compared with a stored table. A new recogniser must not change how a file
// that opens today is read; a change that is meant is made in the table, with the reason in the
// commit.
//
// TELVANE_WRITE_RECOGNITION=<file> writes the table as the code reads the files today.
#include "fileio/opendata.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

using namespace telvane;
namespace fs = std::filesystem;

namespace {

const fs::path kSource = TELVANE_SOURCE_DIR;

// The seeds of the text fuzz targets start with a byte that picks what the target does with
// the rest; the rest is a text file of its own, opened here the way the target opens it.
bool is_text_seed(const std::string& rel) {
    for (const char* dir : {"fuzz/fileio/corpus/", "fuzz/road/corpus/roadfiles/"})
        if (rel.starts_with(dir))
            return true;
    return false;
}

std::vector<std::string> sample_files() {
    std::vector<std::string> files;
    auto add_tree = [&](const fs::path& root, bool corpus_only) {
        for (const auto& e : fs::recursive_directory_iterator(root)) {
            if (!e.is_regular_file())
                continue;
            const std::string rel = fs::relative(e.path(), kSource).generic_string();
            if (corpus_only && rel.find("/corpus/") == std::string::npos)
                continue;
            files.push_back(rel);
            if (is_text_seed(rel))
                files.push_back(rel + " (as text)");
        }
    };
    add_tree(kSource / "fuzz", true);
    add_tree(kSource / "examples", false);
    std::sort(files.begin(), files.end());
    return files;
}

std::string describe(bool dispatched, const DataState& d, const Messages& m) {
    std::ostringstream s;
    s << (dispatched ? "kind " : "refused kind ") << data_kind_number(d) << " records "
      << d.RecordList.size() << " points " << d.CoordList.size() << " codes " << d.CodeList.size()
      << " points3 " << d.Coord3List.size() << " road " << d.RoadRows.size();
    for (const UserMessage& x : m) {
        s << " [" << x.value << x.suffix;
        for (const std::string& a : x.args)
            s << " " << a;
        s << "]";
    }
    return s.str();
}

// What Open made of a file, in one line: the kind, the list sizes, the messages.
std::string opened_as(const std::string& rel) {
    const std::string path = (kSource / rel).string();
    DataState d;
    Messages m;
    if (rel.ends_with(" (as text)")) {
        const std::string file = (kSource / rel.substr(0, rel.size() - 10)).string();
        std::ifstream in(file, std::ios::binary);
        const std::string bytes((std::istreambuf_iterator<char>(in)),
                                std::istreambuf_iterator<char>());
        const unsigned selector = bytes.empty() ? 0 : static_cast<unsigned char>(bytes[0]);
        static const char* const kOpenText[] = {".TXT", ".PHI", ".SEC", ".PVI"};
        static const char* const kRoadFiles[] = {".PHI", ".SEC", ".PVI", ".csv"};
        const bool road = rel.starts_with("fuzz/road/");
        const bool opentext = rel.find("/opentext/") != std::string::npos;
        const char* ext =
            road ? kRoadFiles[selector & 3] : (opentext ? kOpenText[selector & 3] : ".TXT");
        FileSettings s;
        if (opentext)
            s.order = static_cast<int>((selector >> 2) & 1);
        open_text(split_lines(std::string_view(bytes).substr(bytes.empty() ? 0 : 1)), ext, d, s, m);
        return describe(true, d, m);
    }
    const bool dispatched = open_data_file(path, d, FileSettings{}, m);
    return describe(dispatched, d, m);
}

std::map<std::string, std::string> stored_table() {
    std::map<std::string, std::string> table;
    std::ifstream in(kSource / "tests/fileio/recognition.txt");
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#')
            continue;
        const auto tab = line.find('\t');
        if (tab != std::string::npos)
            table[line.substr(0, tab)] = line.substr(tab + 1);
    }
    return table;
}

} // namespace

TEST(Recognition, EverySampleFileOpensAsBefore) {
    const std::vector<std::string> files = sample_files();
    ASSERT_FALSE(files.empty());
    if (const char* out = std::getenv("TELVANE_WRITE_RECOGNITION")) {
        std::ofstream w(out, std::ios::binary);
        w << "# file\twhat Open made of it (default settings: NEZ, metres, degrees)\n";
        for (const std::string& f : files)
            w << f << "\t" << opened_as(f) << "\n";
    }
    const auto table = stored_table();
    for (const std::string& f : files) {
        const auto it = table.find(f);
        if (it == table.end()) {
            ADD_FAILURE() << f << " is not in the table; it opens as: " << opened_as(f);
            continue;
        }
        EXPECT_EQ(opened_as(f), it->second) << f;
    }
    for (const auto& [f, what] : table)
        EXPECT_TRUE(std::find(files.begin(), files.end(), f) != files.end())
            << f << " is in the table but no longer among the sample files";
}
