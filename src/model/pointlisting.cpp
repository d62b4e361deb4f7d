#include "pointlisting.h"

#include "numtext.h"
#include "textlines.h"
#include "units.h"

namespace telvane {

bool read_point_listing(std::span<const std::string> lines, std::vector<coord_item>& points) {
    std::vector<coord_item> read;
    NameField name, code;
    for (const std::string& line : lines) {
        const std::string_view keyword = trim(std::string_view(line).substr(0, 8));
        const std::string_view trimmed = trim(line);
        const auto values = split_delimited(trimmed.size() > 8 ? trimmed.substr(8) : "", ',');
        if (values.size() != 3)
            return false;
        if (keyword == "SC") {
            name = input_name(values[0]);
            code = values[2];
            continue;
        }
        const bool enz = keyword == "ENZ";
        if (!enz && keyword != "NEZ")
            continue;
        double v[3];
        for (int i = 0; i < 3; ++i)
            if (!try_parse_double(values[static_cast<std::size_t>(i)], v[i]))
                return false; // a number that does not read refuses the listing
        coord_item p{name, code, enz ? v[1] : v[0], enz ? v[0] : v[1], v[2]};
        read.push_back(p);
    }
    points = std::move(read);
    return true;
}

} // namespace telvane
