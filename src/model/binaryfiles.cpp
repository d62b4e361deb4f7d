#include "binaryfiles.h"

#include "bytes.h"
#include "filebytes.h"
#include "linewriter.h"
#include "units.h"

#include <algorithm>
#include <cctype>

namespace telvane {

std::string_view binary_result_key(int result) {
    switch (result) {
    case kBinaryOk:
        return "load_successfully";
    case kBinaryCannotOpen:
        return "file_not_exist";
    case kBinaryEmpty:
        return "file_is_empty";
    case kBinaryReadError:
        return "file_read_error";
    case kBinaryUnknownType:
        return "file_undefined_type";
    case kBinaryBadData:
        return "file_bad_data";
    case kBinaryWrongFormat:
        return "file_wrong_format";
    default:
        return "file_undefined_error_code";
    }
}

namespace {

constexpr Units kMetres{kAngleSeconds, kMetre};

std::string_view or_noname(std::string_view name) {
    return name.empty() ? "NONAME" : name;
}

// Result of a record read: End gives 0, a record cut short -3.
int end_result(ByteCursor::Take t) {
    return t == ByteCursor::Take::End ? kBinaryOk : kBinaryReadError;
}

// The 48- and 56-byte formats start with one byte that must be 1 or 2.
int read_version_byte(ByteCursor& cur) {
    std::string_view header;
    if (cur.take(1, header) != ByteCursor::Take::Ok)
        return kBinaryEmpty;
    const auto v = static_cast<unsigned char>(header[0]);
    return v == 1 || v == 2 ? kBinaryOk : kBinaryWrongFormat;
}

// The 96-, 112- and 136-byte formats start with a header that is read and not interpreted.
int skip_header(ByteCursor& cur, std::size_t size) {
    std::string_view header;
    return cur.take(size, header) == ByteCursor::Take::Ok ? kBinaryOk : kBinaryEmpty;
}

// Loops over fixed-size records until the end of the bytes; convert returns 0 to go on.
template <typename Convert>
int for_each_record(ByteCursor& cur, std::size_t size, Convert&& convert) {
    for (;;) {
        std::string_view rec;
        const auto t = cur.take(size, rec);
        if (t != ByteCursor::Take::Ok)
            return end_result(t);
        const int rc = convert(RecordBytes(rec));
        if (rc != kBinaryOk)
            return rc;
    }
}

// Notes keep to one line: a line break inside the text becomes a space.
std::string one_line(std::string_view text) {
    std::string s(text);
    std::replace_if(
        s.begin(), s.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');
    return s;
}

} // namespace

int read_job48(std::string_view bytes, Lines& out) {
    ByteCursor cur(bytes);
    if (const int rc = read_version_byte(cur); rc != kBinaryOk)
        return rc;
    LineWriter w(out, kMetres);
    int last_type = 0; // type of the last record that produced lines
    double station_north = 0, station_east = 0;
    return for_each_record(cur, 48, [&](const RecordBytes r) -> int {
        const int type = r.i8(0);
        const std::string_view name = or_noname(r.text(1, 9));
        const std::string_view code = r.text(10, 10);
        const double height = r.f32(20);
        const double north = r.f64(24), east = r.f64(32), elev = r.f64(40);
        const double va = r.u32(24), ha = r.u32(28), sd = r.f32(40);
        switch (type) {
        case 1:
            w.start("STA").text(name).dist(height).text(code);
            w.start("XYZ").dist(east).dist(north).dist(elev);
            station_north = north;
            station_east = east;
            break;
        case 2:
        case 5:
            w.start("SA").text(name).dist(height).text(code);
            w.start("HV").seconds(ha).seconds(va);
            break;
        case 3:
            w.start("BS").text(name).dist(height);
            w.start("HVD").seconds(ha).seconds(va).dist(sd);
            break;
        case 6:
        case 7:
            w.start("SD").text(name).dist(height).text(code);
            w.start("HVD").seconds(ha).seconds(va).dist(sd);
            break;
        case 8:
            w.start("SC").text(name).dist(height).text(code);
            w.start("ENZ").dist(east).dist(north).dist(elev);
            break;
        case 4: {
            // The backsight point of the station just before it: its bearing from the station.
            if (last_type != 1)
                return kBinaryOk;
            const auto bearing = bearing_between(station_east, station_north, east, north);
            if (!bearing)
                return kBinaryOk;
            w.start("BKB").text(name).text("0.0000").seconds(*bearing * 3600.0);
            break;
        }
        case 13:
            return kBinaryOk;
        default:
            return kBinaryUnknownType;
        }
        last_type = type;
        return kBinaryOk;
    });
}

int read_job56(std::string_view bytes, Lines& out) {
    ByteCursor cur(bytes);
    if (const int rc = read_version_byte(cur); rc != kBinaryOk)
        return rc;
    LineWriter w(out, kMetres);
    return for_each_record(cur, 56, [&](const RecordBytes r) -> int {
        if (r.u8(1) == 0x7F) // a deleted record
            return kBinaryOk;
        const std::string_view name = or_noname(r.text(1, 9));
        const std::string_view code = r.text(10, 10);
        const double height = r.f32(20);
        const double north = r.f64(24), east = r.f64(32), elev = r.f64(40);
        const double va = r.i32(24), ha = r.i32(28), sd = r.f64(40);
        switch (r.i8(0)) {
        case 1:
            w.start("STA").text(name).dist(height).text(or_noname(code));
            w.start("XYZ").dist(east).dist(north).dist(elev);
            return kBinaryOk;
        case 2:
        case 5:
            w.start("SA").text(name).dist(height).text(code);
            w.start("HV").seconds(ha).seconds(va);
            return kBinaryOk;
        case 3:
        case 6:
        case 7:
            w.start("SD").text(name).dist(height).text(code);
            w.start("HVD").seconds(ha).seconds(va).dist(sd);
            return kBinaryOk;
        case 4:
        case 8:
            w.start("SC").text(name).dist(height).text(code);
            w.start("ENZ").dist(east).dist(north).dist(elev);
            return kBinaryOk;
        default:
            return kBinaryUnknownType;
        }
    });
}

int read_job96(std::string_view bytes, Lines& out) {
    ByteCursor cur(bytes);
    if (const int rc = skip_header(cur, 96); rc != kBinaryOk)
        return rc;
    LineWriter w(out, kMetres);
    return for_each_record(cur, 96, [&](const RecordBytes r) -> int {
        const std::string_view name = r.text(1, 9);
        const std::string_view code = r.text(10, 22);
        const double sd = r.f64(32), ha = r.f64(40), va = r.f64(48);
        const double north = r.f64(56), east = r.f64(64), elev = r.f64(72);
        const double inst_height = r.f64(80), target_height = r.f64(88);
        switch (r.i8(0)) {
        case 1:
            w.start("STA").text(name).dist(inst_height).text(code);
            w.start("XYZ").dist(east).dist(north).dist(elev);
            return kBinaryOk;
        case 2:
            w.start("BS").text(name).dist(target_height);
            w.start("HVD").seconds(ha).seconds(va).dist(sd);
            return kBinaryOk;
        case 3:
            w.start("SA").text(name).dist(target_height).text(code);
            w.start("HV").seconds(ha).seconds(va);
            return kBinaryOk;
        case 4:
            w.start("SD").text(name).dist(target_height).text(code);
            w.start("HVD").seconds(ha).seconds(va).dist(sd);
            return kBinaryOk;
        case 5:
            w.start("BKB").text(name).seconds(ha).seconds(va);
            return kBinaryOk;
        case 6:
            w.start("SC").text(name).dist(target_height).text(code);
            w.start("HVD").seconds(ha).seconds(va).dist(sd);
            w.start("ENZ").dist(east).dist(north).dist(elev);
            return kBinaryOk;
        case 7:
        case 11:
            w.start("SC").text(name).dist(target_height).text(code);
            w.start("ENZ").dist(east).dist(north).dist(elev);
            return kBinaryOk;
        case 8:
            w.start("NOTE").text(one_line(r.text(1, 95)));
            return kBinaryOk;
        case 10:
            return kBinaryOk;
        default:
            return kBinaryUnknownType;
        }
    });
}

int read_job112(std::string_view bytes, Lines& out) {
    ByteCursor cur(bytes);
    if (const int rc = skip_header(cur, 112); rc != kBinaryOk)
        return rc;
    LineWriter w(out, kMetres);
    return for_each_record(cur, 112, [&](const RecordBytes r) -> int {
        const std::string_view name = r.text(1, 30);
        const std::string_view code = r.text(31, 17);
        const double north = r.f64(48), east = r.f64(56), elev = r.f64(64);
        const double ha = r.f64(72), va = r.f64(80), sd = r.f64(88);
        const double inst_height = r.f64(96), target_height = r.f64(104);
        switch (r.i8(0)) {
        case 1:
            w.start("STA").text(name).dist(inst_height).text(code);
            w.start("XYZ").dist(east).dist(north).dist(elev);
            return kBinaryOk;
        case 2:
            // A backsight without a distance is a bearing only.
            if (sd == 0) {
                w.start("BKB").text(name).seconds(ha).seconds(va);
            } else {
                w.start("BS").text(name).dist(target_height);
                w.start("HVD").seconds(ha).seconds(va).dist(sd);
            }
            return kBinaryOk;
        case 3:
            w.start("SA").text(name).dist(target_height).text(code);
            w.start("HV").seconds(ha).seconds(va);
            return kBinaryOk;
        case 4:
            w.start("SD").text(name).dist(target_height).text(code);
            w.start("HVD").seconds(ha).seconds(va).dist(sd);
            return kBinaryOk;
        case 6:
        case 11:
            w.start("SC").text(name).dist(target_height).text(code);
            w.start("ENZ").dist(east).dist(north).dist(elev);
            return kBinaryOk;
        case 7:
            w.start("SC").text(name).dist(target_height).text(code);
            w.start("HVD").seconds(ha).seconds(va).dist(sd);
            w.start("ENZ").dist(east).dist(north).dist(elev);
            return kBinaryOk;
        case 8:
            w.start("NOTE").text(one_line(r.text(1, 111)));
            return kBinaryOk;
        case 5:
        case 9:
        case 10:
            return kBinaryOk;
        default:
            return kBinaryUnknownType;
        }
    });
}

int read_job136(std::string_view bytes, Lines& out) {
    ByteCursor cur(bytes);
    if (const int rc = skip_header(cur, 48); rc != kBinaryOk)
        return rc;
    LineWriter w(out, kMetres);
    return for_each_record(cur, 136, [&](const RecordBytes r) -> int {
        const std::string_view name = r.text(16, 10);
        const double target_height = r.f32(48);
        // Observations keep the vertical angle before the horizontal one.
        auto observation = [&] {
            w.start("HVD").seconds(r.f64(64)).seconds(r.f64(56)).dist(r.f64(72));
        };
        auto point_at = [&](std::size_t off) {
            w.start("NEZ").dist(r.f64(off)).dist(r.f64(off + 8)).dist(r.f64(off + 16));
        };
        switch (r.i8(0)) {
        case 1:
            w.start("STA").text(name).dist(r.f32(28)).empty_field();
            w.start("XYZ").dist(r.f64(48)).dist(r.f64(56)).dist(r.f64(64));
            break;
        case 2:
            w.start("SC").text(name).text("0.0000").empty_field();
            point_at(56);
            break;
        case 3:
            w.start("SC").text(name).dist(target_height).empty_field();
            observation();
            point_at(96);
            break;
        case 5:
            w.start("SC").text(name).dist(target_height).empty_field();
            point_at(56);
            break;
        case 6:
            w.start("BS").text(name).dist(target_height);
            observation();
            if (r.u8(27) != 0) {
                w.start("SC").text(name).dist(target_height).empty_field();
                point_at(96);
            }
            break;
        default:
            break; // other types carry nothing for the job
        }
        return kBinaryOk;
    });
}

int read_points56(std::string_view bytes, Lines& out) {
    ByteCursor cur(bytes);
    LineWriter w(out, kMetres);
    return for_each_record(cur, 56, [&](const RecordBytes r) -> int {
        switch (r.i8(0)) {
        case 11:
            w.start("SC").text(r.text(1, 15)).text("0.0000").text(r.text(16, 16));
            w.start("ENZ").dist(r.f64(40)).dist(r.f64(32)).dist(r.f64(48));
            return kBinaryOk;
        case 10:
            return kBinaryOk;
        default:
            return kBinaryUnknownType;
        }
    });
}

int read_points40(std::string_view bytes, Lines& out) {
    ByteCursor cur(bytes);
    LineWriter w(out, kMetres);
    return for_each_record(cur, 40, [&](const RecordBytes r) -> int {
        w.start("SC").text(r.text(0, 16)).text("0").empty_field();
        w.start("NEZ").dist(r.f64(16)).dist(r.f64(24)).dist(r.f64(32));
        return kBinaryOk;
    });
}

namespace {

std::string lowercase(std::string_view s) {
    std::string l(s);
    for (char& c : l)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return l;
}

bool contains(const std::string& s, std::string_view what) {
    return s.find(what) != std::string::npos;
}

// The ".mea" rule: the 48-byte reader runs into a scratch list first, so that a failed attempt
// leaves nothing behind; otherwise the 56-byte reader writes into the caller's list.
int read_48_or_56(std::string_view bytes, Lines& out) {
    Lines scratch;
    if (read_job48(bytes, scratch) == kBinaryOk) {
        out.insert(out.end(), std::make_move_iterator(scratch.begin()),
                   std::make_move_iterator(scratch.end()));
        return kBinaryOk;
    }
    return read_job56(bytes, out);
}

template <typename Convert> int convert_file(const std::string& path, Lines& out, Convert convert) {
    const auto bytes = read_file_bytes(path);
    if (!bytes)
        return kBinaryCannotOpen;
    return convert(path, *bytes, out);
}

} // namespace

int convert_job_bytes(std::string_view path, std::string_view bytes, Lines& out) {
    const std::string p = lowercase(path);
    if (contains(p, ".mea"))
        return read_48_or_56(bytes, out);
    if (contains(p, ".dat"))
        return read_job96(bytes, out);
    if (contains(p, ".job"))
        return read_job112(bytes, out);
    if (contains(p, ".jbf"))
        return read_job136(bytes, out);
    return kBinaryOk;
}

int convert_job_file(const std::string& path, Lines& out) {
    return convert_file(path, out, convert_job_bytes);
}

int convert_coord_bytes(std::string_view path, std::string_view bytes, Lines& out) {
    out.clear();
    const std::string p = lowercase(path);
    if (contains(p, ".cor"))
        return read_job96(bytes, out);
    if (contains(p, ".pts"))
        return read_points56(bytes, out);
    if (contains(p, ".ptf"))
        return read_points40(bytes, out);
    return read_48_or_56(bytes, out);
}

int convert_coord_file(const std::string& path, Lines& out) {
    return convert_file(path, out, convert_coord_bytes);
}

} // namespace telvane
