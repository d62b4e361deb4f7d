#include "pointlisting.h"

#include "numtext.h"
#include "textlines.h"
#include "units.h"

namespace telvane {

namespace {

// The fields after the keyword, split at commas and trimmed.
std::vector<std::string_view> listing_fields(std::string_view line) {
    std::vector<std::string_view> fields;
    std::string_view rest = line.size() > 8 ? line.substr(8) : std::string_view();
    for (;;) {
        const std::size_t comma = rest.find(',');
        fields.push_back(trim(rest.substr(0, comma)));
        if (comma == std::string_view::npos)
            return fields;
        rest.remove_prefix(comma + 1);
    }
}

} // namespace

void read_point_listing(std::span<const std::string> lines, std::vector<coord_item>& points,
                        std::size_t* skipped) {
    std::vector<coord_item> read;
    NameField name, code;
    auto skip = [&] {
        if (skipped)
            ++*skipped;
    };
    for (const std::string& line : lines) {
        const std::string_view keyword = trim(std::string_view(line).substr(0, 8));
        const std::vector<std::string_view> values = listing_fields(line);
        const bool enz = keyword == "ENZ";
        const bool point = enz || keyword == "NEZ";
        if (keyword != "SC" && !point)
            continue;
        if (values.size() != 3) {
            skip();
            continue;
        }
        if (keyword == "SC") {
            name = input_name(values[0]);
            code = values[2];
            continue;
        }
        double v[3];
        bool ok = true;
        for (int i = 0; i < 3; ++i)
            ok = ok && try_parse_double(values[static_cast<std::size_t>(i)], v[i]);
        if (!ok) {
            skip();
            continue;
        }
        read.push_back(coord_item{name, code, enz ? v[1] : v[0], enz ? v[0] : v[1], v[2]});
    }
    points = std::move(read);
}

} // namespace telvane
