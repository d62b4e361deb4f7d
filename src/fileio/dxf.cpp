#include "dxf.h"

#include "model/numtext.h"
#include "model/units.h"

#include <algorithm>
#include <array>
#include <optional>

namespace telvane {

namespace {

struct Plane {
    double x, y;
};

// CAD programs draw X to the right and Y up, so X is east and Y is north whatever order the
// rows of the program use; a north-first X would open every drawing mirrored.
Plane plane_of(const coord_item& p) {
    return Plane{p.east, p.north};
}

} // namespace

void append_dxf(std::span<const coord_item> points, const FileSettings& s, ByteSink& sink) {
    if (points.empty())
        return;
    std::string& out = sink.text;
    auto pair = [&](std::string_view code, std::string_view value) {
        out += code;
        out += "\r\n";
        out += value;
        out += "\r\n";
    };
    // Each value is formatted once per point, however many entities repeat it.
    std::string x, y, above, below, z;
    auto number = [&](std::string& text, double metres) {
        text.clear();
        append_distance(text, metres, s.units.distance);
        return std::string_view(text);
    };

    std::array<double, 3> lo{}, hi{};
    for (std::size_t i = 0; i < points.size(); ++i) {
        const Plane p = plane_of(points[i]);
        const std::array<double, 3> v{p.x, p.y, points[i].elev};
        for (std::size_t k = 0; k < 3; ++k) {
            lo[k] = i == 0 ? v[k] : std::min(lo[k], v[k]);
            hi[k] = i == 0 ? v[k] : std::max(hi[k], v[k]);
        }
    }
    pair("0", "SECTION");
    pair("2", "HEADER");
    pair("9", "$EXTMIN");
    pair("10", number(x, lo[0]));
    pair("20", number(x, lo[1]));
    pair("30", number(x, lo[2]));
    pair("9", "$EXTMAX");
    pair("10", number(x, hi[0]));
    pair("20", number(x, hi[1]));
    pair("30", number(x, hi[2]));
    pair("0", "ENDSEC");
    pair("0", "SECTION");
    pair("2", "ENTITIES");
    // The entities of a point are fixed pieces between five values: each point is put in one go.
    auto put = [&](std::initializer_list<std::string_view> pieces) {
        for (std::string_view piece : pieces)
            out += piece;
    };
    for (const coord_item& point : points) {
        const Plane p = plane_of(point);
        number(x, p.x);
        number(y, p.y);
        // The label offsets are one metre, added before the unit conversion.
        number(above, p.y + 1);
        number(below, p.y - 1);
        number(z, point.elev);
        const bool blank_code = trim(point.code.view()).empty();
        put({"0\r\nTEXT\r\n8\r\nPNTNO\r\n10\r\n",
             x,
             "\r\n20\r\n",
             above,
             "\r\n40\r\n0.8\r\n1\r\n",
             output_name(point.name),
             "\r\n0\r\nTEXT\r\n8\r\nPNTELEV\r\n10\r\n",
             x,
             "\r\n20\r\n",
             y,
             "\r\n40\r\n0.8\r\n1\r\n",
             z,
             "\r\n0\r\nTEXT\r\n8\r\nPNTDESC\r\n10\r\n",
             x,
             "\r\n20\r\n",
             below,
             "\r\n40\r\n0.8\r\n1\r\n",
             blank_code ? std::string_view(" ") : point.code.view(),
             "\r\n0\r\nPOINT\r\n8\r\n0\r\n62\r\n1\r\n10\r\n",
             x,
             "\r\n20\r\n",
             y,
             "\r\n30\r\n",
             z,
             "\r\n"});
        sink.written();
    }
    pair("0", "ENDSEC");
    pair("0", "EOF");
    sink.written();
}

void append_dxf(std::span<const coord_item> points, const FileSettings& s, std::string& out) {
    ByteSink sink(out);
    append_dxf(points, s, sink);
}

Lines write_dxf(std::span<const coord_item> points, const FileSettings& s) {
    std::string bytes;
    append_dxf(points, s, bytes);
    return split_lines(bytes);
}

namespace {

// Reads group code / value pairs; blank lines where a group code is due are passed over.
class PairReader {
public:
    explicit PairReader(std::span<const std::string_view> lines) : lines_(lines) {}

    enum class Next { Pair, End, Bad };
    Next next(int& code, std::string_view& value) {
        while (i_ < lines_.size() && trim(lines_[i_]).empty())
            ++i_;
        if (i_ >= lines_.size())
            return Next::End;
        const std::string_view code_text = trim(lines_[i_++]);
        long long c = 0;
        try {
            c = parse_int(code_text);
        } catch (const ConversionError&) {
            return Next::Bad;
        }
        code = static_cast<int>(std::clamp<long long>(c, -1, 100000));
        value = i_ < lines_.size() ? trim(lines_[i_]) : std::string_view();
        ++i_;
        return Next::Pair;
    }

private:
    std::span<const std::string_view> lines_;
    std::size_t i_ = 0;
};

struct Entry {
    enum class Kind { None, Point, Text } kind = Kind::None;
    double v10 = 0, v20 = 0, v30 = 0;
    std::string text, layer;
};

bool recognised(std::span<const std::string_view> lines) {
    for (std::size_t i = 0; i < lines.size() && i < 4; ++i) {
        const std::string_view t = trim(lines[i]);
        if (!t.empty())
            return t == "999" || t == "0";
    }
    return false;
}

} // namespace

bool read_dxf(std::span<const std::string> lines, const FileSettings& s,
              std::vector<coord_item>& points) {
    return read_dxf(views_of(lines), s, points);
}

bool read_dxf(std::span<const std::string_view> lines, const FileSettings& s,
              std::vector<coord_item>& points) {
    if (!recognised(lines))
        return false;

    enum class Section { Outside, Header, Entities } section = Section::Outside;
    std::vector<coord_item> read;
    NameField name, code; // the naming pass runs as entries arrive: same order, same result
    Entry entry;
    auto finish = [&] {
        // X is east and Y is north, as the export writes them.
        const double east = entry.v10, north = entry.v20;
        if (entry.kind == Entry::Kind::Point)
            read.push_back({name, code, north, east, entry.v30});
        else if (entry.kind == Entry::Kind::Text && entry.layer == "PNTNO")
            name = input_name(entry.text);
        else if (entry.kind == Entry::Kind::Text && entry.layer == "PNTDESC")
            code = entry.text;
        entry = Entry{};
    };

    PairReader reader(lines);
    int group = 0;
    std::string_view value;
    for (;;) {
        const auto next = reader.next(group, value);
        if (next == PairReader::Next::Bad)
            return false;
        if (next == PairReader::Next::End)
            break;
        switch (section) {
        case Section::Outside:
            if (group == 2 && value == "HEADER")
                section = Section::Header;
            else if (group == 2 && value == "ENTITIES")
                section = Section::Entities;
            break;
        case Section::Header:
            if (value == "ENDSEC")
                section = Section::Outside;
            break;
        case Section::Entities:
            if (group == 0) {
                finish();
                if (value == "POINT")
                    entry.kind = Entry::Kind::Point;
                else if (value == "TEXT")
                    entry.kind = Entry::Kind::Text;
                else if (value == "ENDSEC")
                    section = Section::Outside;
                break;
            }
            if (entry.kind == Entry::Kind::None)
                break;
            if (group == 10 || group == 20 || group == 30) {
                double v = 0;
                if (!try_parse_double(value, v))
                    return false;
                v *= distance_factor_to_metres(s.units.distance);
                (group == 10 ? entry.v10 : group == 20 ? entry.v20 : entry.v30) = v;
            } else if (group == 1) {
                entry.text = std::string(value);
            } else if (group == 8) {
                entry.layer = std::string(value);
            }
            break;
        }
    }
    finish();
    points = std::move(read);
    return true;
}

} // namespace telvane
