#include "binaryfiles.h"
#include "model/ascii.h"

#include "bytes.h"
#include "filebytes.h"
#include "linewriter.h"
#include "units.h"

#include <algorithm>
#include <array>
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
    return name.empty() ? kNoName : name;
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

// The lines of a record that held a value that is not a finite number are taken back again
// and the record counted: the others still read.
struct DropDamaged {
    Lines& out;
    LineWriter& writer;
    std::size_t* dropped;
};

// Loops over fixed-size records until the end of the bytes; convert returns 0 to go on.
template <typename Convert>
int for_each_record(ByteCursor& cur, std::size_t size, DropDamaged guard, Convert&& convert) {
    for (;;) {
        std::string_view rec;
        const auto t = cur.take(size, rec);
        if (t != ByteCursor::Take::Ok)
            return end_result(t);
        const std::size_t mark = guard.out.size();
        const int rc = convert(RecordBytes(rec));
        if (guard.writer.take_non_finite()) {
            guard.out.resize(mark);
            if (guard.dropped)
                ++*guard.dropped;
        }
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

namespace {

// The values of one record, whatever format they came from.
struct Fields {
    std::string_view name, code;
    double inst_height = 0, target_height = 0;
    double north = 0, east = 0, elev = 0;
    double ha = 0, va = 0, sd = 0; // angles in arc-seconds
};

// The job text lines the record kinds produce, shared by the formats that store the same fields.
class Emitter {
public:
    explicit Emitter(Lines& out) : w_(out, kMetres) {}
    LineWriter& writer() { return w_; }

    void station(const Fields& f) {
        w_.start("STA").text(f.name).dist(f.inst_height).text(f.code);
        w_.start("XYZ").dist(f.east).dist(f.north).dist(f.elev);
    }
    void backsight(const Fields& f) {
        w_.start("BS").text(f.name).dist(f.target_height);
        observation(f);
    }
    void angles(const Fields& f) {
        w_.start("SA").text(f.name).dist(f.target_height).text(f.code);
        w_.start("HV").seconds(f.ha).seconds(f.va);
    }
    void distance(const Fields& f) {
        w_.start("SD").text(f.name).dist(f.target_height).text(f.code);
        observation(f);
    }
    void coordinates(const Fields& f, bool with_observation) {
        w_.start("SC").text(f.name).dist(f.target_height).text(f.code);
        if (with_observation)
            observation(f);
        w_.start("ENZ").dist(f.east).dist(f.north).dist(f.elev);
    }
    void bearing(std::string_view name, std::string_view ha, double azimuth_seconds) {
        w_.start("BKB").text(name).text(ha).seconds(azimuth_seconds);
    }
    void bearing(const Fields& f) { w_.start("BKB").text(f.name).seconds(f.ha).seconds(f.va); }
    void note(std::string_view text) { w_.start("NOTE").text(one_line(text)); }

private:
    void observation(const Fields& f) { w_.start("HVD").seconds(f.ha).seconds(f.va).dist(f.sd); }
    LineWriter w_;
};

// The 48- and 56-byte formats share one layout up to the distance field.
Fields small_record_fields(const RecordBytes& r, double sd) {
    Fields f;
    f.name = or_noname(r.text(1, 9));
    f.code = r.text(10, 10);
    f.inst_height = f.target_height = r.f32(20);
    f.north = r.f64(24);
    f.east = r.f64(32);
    f.elev = r.f64(40);
    f.sd = sd;
    return f;
}

} // namespace

int read_job48(std::string_view bytes, Lines& out, std::size_t* dropped) {
    ByteCursor cur(bytes);
    if (const int rc = read_version_byte(cur); rc != kBinaryOk)
        return rc;
    Emitter e(out);
    int last_type = 0; // type of the last record that produced lines
    double station_north = 0, station_east = 0;
    return for_each_record(cur, 48, {out, e.writer(), dropped}, [&](const RecordBytes r) -> int {
        const int type = r.i8(0);
        Fields f = small_record_fields(r, r.f32(40));
        f.va = r.u32(24);
        f.ha = r.u32(28);
        switch (type) {
        case 1:
            e.station(f);
            station_north = f.north;
            station_east = f.east;
            break;
        case 2:
        case 5:
            e.angles(f);
            break;
        case 3:
            e.backsight(f);
            break;
        case 6:
        case 7:
            e.distance(f);
            break;
        case 8:
            e.coordinates(f, false);
            break;
        case 4: {
            // The backsight point of the station just before it: its bearing from the station.
            if (last_type != 1)
                return kBinaryOk;
            const auto b = bearing_between(station_east, station_north, f.east, f.north);
            if (!b)
                return kBinaryOk;
            e.bearing(f.name, "0.0000", *b * 3600.0);
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

int read_job56(std::string_view bytes, Lines& out, std::size_t* dropped) {
    ByteCursor cur(bytes);
    if (const int rc = read_version_byte(cur); rc != kBinaryOk)
        return rc;
    Emitter e(out);
    return for_each_record(cur, 56, {out, e.writer(), dropped}, [&](const RecordBytes r) -> int {
        if (r.u8(1) == 0x7F) // a deleted record
            return kBinaryOk;
        Fields f = small_record_fields(r, r.f64(40));
        f.va = r.i32(24);
        f.ha = r.i32(28);
        switch (r.i8(0)) {
        case 1:
            f.code = or_noname(f.code); // this format writes an empty station code as NONAME too
            e.station(f);
            return kBinaryOk;
        case 2:
        case 5:
            e.angles(f);
            return kBinaryOk;
        case 3:
        case 6:
        case 7:
            e.distance(f);
            return kBinaryOk;
        case 4:
        case 8:
            e.coordinates(f, false);
            return kBinaryOk;
        default:
            return kBinaryUnknownType;
        }
    });
}

namespace {

// The 96- and 112-byte formats store the same fields as doubles, at their own offsets, and give
// the record types their own numbers.
enum class Action {
    Unknown,
    Skip,
    Station,
    Backsight,
    Angles,
    Distance,
    Bearing,
    Coordinates,
    CoordinatesWithObservation,
    Note
};

struct WideLayout {
    std::size_t size;
    std::size_t name_span, code_off, code_span;
    std::size_t north, east, elev, ha, va, sd, inst_height, target_height;
    std::array<Action, 12> actions; // by record type 0..11; other types are unknown
};

constexpr WideLayout kLayout96{96,
                               9,
                               10,
                               22,
                               56,
                               64,
                               72,
                               40,
                               48,
                               32,
                               80,
                               88,
                               {Action::Unknown, Action::Station, Action::Backsight, Action::Angles,
                                Action::Distance, Action::Bearing,
                                Action::CoordinatesWithObservation, Action::Coordinates,
                                Action::Note, Action::Unknown, Action::Skip, Action::Coordinates}};

constexpr WideLayout kLayout112{112,
                                30,
                                31,
                                17,
                                48,
                                56,
                                64,
                                72,
                                80,
                                88,
                                96,
                                104,
                                {Action::Unknown, Action::Station, Action::Backsight,
                                 Action::Angles, Action::Distance, Action::Skip,
                                 Action::Coordinates, Action::CoordinatesWithObservation,
                                 Action::Note, Action::Skip, Action::Skip, Action::Coordinates}};

int read_wide(std::string_view bytes, const WideLayout& l, Lines& out, std::size_t* dropped) {
    ByteCursor cur(bytes);
    if (const int rc = skip_header(cur, l.size); rc != kBinaryOk)
        return rc;
    Emitter e(out);
    return for_each_record(cur, l.size, {out, e.writer(), dropped},
                           [&](const RecordBytes r) -> int {
                               const int type = r.i8(0);
                               if (type < 0 || type >= static_cast<int>(l.actions.size()))
                                   return kBinaryUnknownType;
                               Fields f;
                               f.name = r.text(1, l.name_span);
                               f.code = r.text(l.code_off, l.code_span);
                               f.north = r.f64(l.north);
                               f.east = r.f64(l.east);
                               f.elev = r.f64(l.elev);
                               f.ha = r.f64(l.ha);
                               f.va = r.f64(l.va);
                               f.sd = r.f64(l.sd);
                               f.inst_height = r.f64(l.inst_height);
                               f.target_height = r.f64(l.target_height);
                               switch (l.actions[static_cast<std::size_t>(type)]) {
                               case Action::Unknown:
                                   return kBinaryUnknownType;
                               case Action::Skip:
                                   return kBinaryOk;
                               case Action::Station:
                                   e.station(f);
                                   return kBinaryOk;
                               case Action::Backsight:
                                   // In the 112-byte format a backsight without a distance is a
                                   // bearing only.
                                   if (l.size == 112 && f.sd == 0)
                                       e.bearing(f);
                                   else
                                       e.backsight(f);
                                   return kBinaryOk;
                               case Action::Angles:
                                   e.angles(f);
                                   return kBinaryOk;
                               case Action::Distance:
                                   e.distance(f);
                                   return kBinaryOk;
                               case Action::Bearing:
                                   e.bearing(f);
                                   return kBinaryOk;
                               case Action::Coordinates:
                                   e.coordinates(f, false);
                                   return kBinaryOk;
                               case Action::CoordinatesWithObservation:
                                   e.coordinates(f, true);
                                   return kBinaryOk;
                               case Action::Note:
                                   // The note runs over the whole record after its type byte.
                                   e.note(r.text(1, l.size - 1));
                                   return kBinaryOk;
                               }
                               return kBinaryUnknownType;
                           });
}

} // namespace

int read_job96(std::string_view bytes, Lines& out, std::size_t* dropped) {
    return read_wide(bytes, kLayout96, out, dropped);
}

int read_job112(std::string_view bytes, Lines& out, std::size_t* dropped) {
    return read_wide(bytes, kLayout112, out, dropped);
}

int read_job136(std::string_view bytes, Lines& out, std::size_t* dropped) {
    ByteCursor cur(bytes);
    if (const int rc = skip_header(cur, 48); rc != kBinaryOk)
        return rc;
    LineWriter w(out, kMetres);
    return for_each_record(cur, 136, {out, w, dropped}, [&](const RecordBytes r) -> int {
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

int read_points56(std::string_view bytes, Lines& out, std::size_t* dropped) {
    ByteCursor cur(bytes);
    LineWriter w(out, kMetres);
    return for_each_record(cur, 56, {out, w, dropped}, [&](const RecordBytes r) -> int {
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

int read_points40(std::string_view bytes, Lines& out, std::size_t* dropped) {
    ByteCursor cur(bytes);
    LineWriter w(out, kMetres);
    return for_each_record(cur, 40, {out, w, dropped}, [&](const RecordBytes r) -> int {
        w.start("SC").text(r.text(0, 16)).text("0").empty_field();
        w.start("NEZ").dist(r.f64(16)).dist(r.f64(24)).dist(r.f64(32));
        return kBinaryOk;
    });
}

namespace {

// The ".mea" rule: the 48-byte reader runs into a scratch list first, so that a failed attempt
// leaves nothing behind; otherwise the 56-byte reader writes into the caller's list.
int read_48_or_56(std::string_view bytes, Lines& out, std::size_t* dropped) {
    Lines scratch;
    std::size_t dropped48 = 0;
    if (read_job48(bytes, scratch, &dropped48) == kBinaryOk) {
        out.insert(out.end(), std::make_move_iterator(scratch.begin()),
                   std::make_move_iterator(scratch.end()));
        if (dropped)
            *dropped += dropped48;
        return kBinaryOk;
    }
    return read_job56(bytes, out, dropped);
}

template <typename Convert> int convert_file(const std::string& path, Lines& out, Convert convert) {
    const auto bytes = read_file_bytes(path);
    if (!bytes)
        return kBinaryCannotOpen;
    return convert(path, *bytes, out, nullptr);
}

} // namespace

std::string binary_extension(std::string_view path) {
    const std::size_t slash = path.find_last_of("/\\");
    const std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
    const std::size_t dot = name.find('.');
    if (dot == std::string_view::npos)
        return {};
    return ascii_lower(name.substr(dot, 4));
}

namespace {

// The one table of binary extensions: what each holds and the reader that takes it.
struct BinaryReader {
    std::string_view extension;
    BinaryKind kind;
    int (*read)(std::string_view, Lines&, std::size_t*);
};
constexpr BinaryReader kBinaryReaders[] = {
    {".mea", BinaryKind::Job, read_48_or_56},    {".dat", BinaryKind::Job, read_job96},
    {".job", BinaryKind::Job, read_job112},      {".jbf", BinaryKind::Job, read_job136},
    {".coo", BinaryKind::Points, read_48_or_56}, {".cor", BinaryKind::Points, read_job96},
    {".pts", BinaryKind::Points, read_points56}, {".ptf", BinaryKind::Points, read_points40},
};

const BinaryReader* binary_reader(std::string_view path) {
    const std::string ext = binary_extension(path);
    for (const BinaryReader& r : kBinaryReaders)
        if (r.extension == ext)
            return &r;
    return nullptr;
}

} // namespace

BinaryKind binary_kind(std::string_view path) {
    const BinaryReader* r = binary_reader(path);
    return r ? r->kind : BinaryKind::None;
}

int convert_job_bytes(std::string_view path, std::string_view bytes, Lines& out,
                      std::size_t* dropped) {
    const BinaryReader* r = binary_reader(path);
    if (r && r->kind == BinaryKind::Job)
        return r->read(bytes, out, dropped);
    return kBinaryOk;
}

int convert_job_file(const std::string& path, Lines& out) {
    return convert_file(path, out, convert_job_bytes);
}

int convert_coord_bytes(std::string_view path, std::string_view bytes, Lines& out,
                        std::size_t* dropped) {
    out.clear();
    const BinaryReader* r = binary_reader(path);
    if (r && r->kind == BinaryKind::Points)
        return r->read(bytes, out, dropped);
    return read_48_or_56(bytes, out, dropped);
}

int convert_coord_file(const std::string& path, Lines& out) {
    return convert_file(path, out, convert_coord_bytes);
}

} // namespace telvane
