#include "jobtext.h"

#include "linewriter.h"
#include "numtext.h"

#include <array>
#include <atomic>
#include <cstdio>

namespace telvane {

LineRole line_role(std::string_view kw) {
    if (kw == "JOB" || kw == "INST" || kw == "BKB" || kw == "NOTE")
        return LineRole::StandAlone;
    if (kw == "STA" || kw == "BS" || kw == "SA" || kw == "SD" || kw == "SC")
        return LineRole::RecordStart;
    if (kw == "XYZ" || kw == "HVD" || kw == "HV" || kw == "ENZ" || kw == "NEZ")
        return LineRole::Continuation;
    return LineRole::Unknown;
}

bool is_skipped_line(std::string_view line) {
    if (line == "0")
        return true;
    const std::string_view t = trim(line);
    return t.empty() || t == "0";
}

namespace {

std::string join_record(std::span<const std::string_view> lines) {
    std::string joined;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i > 0)
            joined += '|';
        joined += lines[i];
    }
    return joined;
}
} // namespace

std::string join_with_bars(std::span<const std::string> lines) {
    std::vector<std::string_view> views(lines.begin(), lines.end());
    return join_record(views);
}

namespace {

// Splits a "|"-joined record into line views.
std::vector<std::string_view> split_record(std::string_view record) {
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    for (;;) {
        const std::size_t bar = record.find('|', start);
        lines.push_back(record.substr(start, bar == std::string_view::npos ? bar : bar - start));
        if (bar == std::string_view::npos)
            return lines;
        start = bar + 1;
    }
}

// Tokens of one logical record. More than 16 tokens never parse, so only the count is kept
// beyond that.
struct Tokens {
    std::array<std::string_view, 16> items;
    std::size_t count = 0;
    void add(std::string_view t) {
        if (count < items.size())
            items[count] = t;
        ++count;
    }
    std::string_view operator[](std::size_t i) const { return items[i]; }
};

int tokenise(std::span<const std::string_view> lines, Tokens& tokens) {
    for (std::string_view line : lines) {
        if (line.size() <= 8)
            return kRecordShortLine;
        tokens.add(line_keyword(line));
        std::string_view rest = line.substr(8);
        for (;;) {
            const std::size_t comma = rest.find(',');
            tokens.add(trim(rest.substr(0, comma)));
            if (comma == std::string_view::npos)
                break;
            rest.remove_prefix(comma + 1);
        }
    }
    return kRecordOk;
}

// A name or code as the field stores it: the text ends at a NUL, and blanks that a cut to the
// field's size leaves at its end are dropped, since reading the written line would drop them too.
std::string_view field_text(std::string_view token) {
    token = trim(token.substr(0, token.find('\0')));
    return trim_right(token.substr(0, gbk_cut_length(token, NameField::max_length)));
}

struct Reader {
    const Tokens& t;
    Units units;
    double angle(std::size_t i) const { return text_to_angle(t[i]); }
    double distance(std::size_t i) const { return text_to_distance(t[i], units.distance); }
    NameField name(std::size_t i) const { return input_name(field_text(t[i])); }
    NameField code(std::size_t i) const { return NameField(field_text(t[i])); }
};

note_data read_note(std::string_view line) {
    note_data note;
    const std::string_view text = trim(line.size() > 8 ? line.substr(8) : std::string_view());
    // Cut to the field's size; blanks the cut leaves at the end go too, as a reread would drop
    // them.
    note.text.assign(trim_right(text.substr(0, gbk_cut_length(text, note_data::max_length))));
    // A stored note never holds a comma: the comma would split it into fields elsewhere.
    for (char& c : note.text)
        if (c == ',')
            c = ';';
    return note;
}

int fill(int kind, const Tokens& t, record_item& out, Units units) {
    static constexpr std::size_t expected[] = {0, 8, 7, 4, 7, 8, 8};
    if (kind == kKindSC) {
        if (t.count != 8 && t.count != 12)
            return kRecordBadCount;
    } else if (t.count != expected[kind]) {
        return kRecordBadCount;
    }
    const Reader r{t, units};
    switch (kind) {
    case kKindSTA: {
        if (t[0] != "STA" || t[4] != "XYZ")
            return kRecordBadKeyword;
        out.data = sta_data{r.name(1),     r.code(3),     r.distance(2),
                            r.distance(5), r.distance(6), r.distance(7)};
        return kRecordOk;
    }
    case kKindBS: {
        if (t[0] != "BS" || t[3] != "HVD")
            return kRecordBadKeyword;
        bs_data bs;
        bs.name = r.name(1);
        bs.target_height = r.distance(2);
        bs.ha = r.angle(4);
        bs.va = r.angle(5);
        bs.sd = r.distance(6);
        out.data = bs;
        return kRecordOk;
    }
    case kKindBKB:
        if (t[0] != "BKB")
            return kRecordBadKeyword;
        out.data = bkb_data{r.name(1), r.angle(2), r.angle(3)};
        return kRecordOk;
    case kKindSA:
        if (t[0] != "SA" || t[4] != "HV")
            return kRecordBadKeyword;
        out.data = sa_data{r.name(1), r.code(3), r.distance(2), r.angle(5), r.angle(6)};
        return kRecordOk;
    case kKindSD:
        if (t[0] != "SD" || t[4] != "HVD")
            return kRecordBadKeyword;
        out.data =
            sd_data{r.name(1), r.code(3), r.distance(2), r.angle(5), r.angle(6), r.distance(7)};
        return kRecordOk;
    case kKindSC: {
        if (t[0] != "SC")
            return kRecordBadKeyword;
        sc_data sc;
        std::size_t coords = 4;
        if (t.count == 12) {
            if (t[4] != "HVD")
                return kRecordBadKeyword;
            coords = 8;
        }
        const bool enz = t[coords] == "ENZ";
        if (!enz && t[coords] != "NEZ")
            return kRecordBadKeyword;
        sc.name = r.name(1);
        sc.target_height = r.distance(2);
        sc.code = r.code(3);
        if (t.count == 12) {
            sc.has_obs = 1;
            sc.ha = r.angle(5);
            sc.va = r.angle(6);
            sc.sd = r.distance(7);
        }
        const double c1 = r.distance(coords + 1);
        const double c2 = r.distance(coords + 2);
        sc.elev = r.distance(coords + 3);
        sc.east = enz ? c1 : c2;
        sc.north = enz ? c2 : c1;
        out.data = sc;
        return kRecordOk;
    }
    default:
        return kRecordNotARecord;
    }
}

} // namespace

int group_lines(std::span<const std::string> lines, std::vector<std::string>& records) {
    std::vector<std::string> out;
    const int rc = for_each_logical_record(
        lines, [&](std::span<const std::string_view> rec) { out.push_back(join_record(rec)); });
    if (rc == kRecordOk)
        records = std::move(out);
    return rc;
}

int tokenise_record(std::string_view record, std::vector<std::string>& tokens) {
    const auto lines = split_record(record);
    Tokens t;
    const int rc = tokenise(lines, t);
    tokens.clear();
    for (std::size_t i = 0; i < std::min(t.count, t.items.size()); ++i)
        tokens.emplace_back(t[i]);
    return rc;
}

namespace {

void stdout_diagnostic(std::string_view line) {
    std::fwrite(line.data(), 1, line.size(), stdout);
    std::fputc('\n', stdout);
}

std::atomic<DiagnosticSink> diagnostic_sink{&stdout_diagnostic};

} // namespace

DiagnosticSink set_diagnostic_sink(DiagnosticSink sink) {
    return diagnostic_sink.exchange(sink ? sink : &stdout_diagnostic);
}

int parse_record(std::span<const std::string_view> lines, record_item& out, Units units) {
    const int kind = lines.empty() ? int(kKindNone) : record_kind(line_keyword(lines[0]));
    if (kind == kKindNone)
        return kRecordNotARecord;
    if (kind == kKindNOTE) {
        if (trim(lines[0].substr(0, 8)) != "NOTE")
            return kRecordBadKeyword;
        out.data = read_note(lines[0]);
        return kRecordOk;
    }
    Tokens tokens;
    const int rc = tokenise(lines, tokens);
    if (rc != kRecordOk)
        return rc;
    try {
        record_item parsed;
        const int filled = fill(kind, tokens, parsed, units);
        if (filled == kRecordOk)
            out = std::move(parsed);
        return filled;
    } catch (const ConversionError& e) {
        diagnostic_sink.load()(std::string("Excption: ") + e.what());
        return kRecordBadValue;
    }
}

int parse_record(std::string_view joined_record, record_item& out, Units units) {
    // A note is one line: its text keeps any "|" it holds.
    if (record_kind(line_keyword(joined_record)) == kKindNOTE) {
        const std::string_view one = joined_record;
        return parse_record(std::span<const std::string_view>(&one, 1), out, units);
    }
    const auto lines = split_record(joined_record);
    return parse_record(std::span<const std::string_view>(lines), out, units);
}

void append_record_lines(const record_item& r, Units units, const RecordDialect& dialect,
                         Lines& out) {
    LineWriter w(out, units);
    switch (r.type()) {
    case kKindSTA: {
        const auto& d = r.as<sta_data>();
        w.start(dialect.station).text(output_name(d.name)).dist(d.inst_height).text(d.code.view());
        w.start("XYZ").dist(d.east).dist(d.north).dist(d.elev);
        return;
    }
    case kKindBS: {
        const auto& d = r.as<bs_data>();
        w.start("BS").text(output_name(d.name)).dist(d.target_height);
        dialect.observation(w, d.ha, d.va, d.sd);
        if (d.has_bss == 1) {
            w.start(dialect.coordinates_start)
                .text(output_name(d.name))
                .dist(d.target_height)
                .text("BSS");
            w.start(dialect.coordinates).dist(d.bss_east).dist(d.bss_north).dist(d.bss_elev);
        }
        return;
    }
    case kKindBKB: {
        const auto& d = r.as<bkb_data>();
        w.start("BKB").text(output_name(d.name)).angle(d.ha).angle(d.azimuth);
        return;
    }
    case kKindSA: {
        const auto& d = r.as<sa_data>();
        w.start(dialect.angles).text(output_name(d.name)).dist(d.target_height).text(d.code.view());
        w.start("HV").angle(d.ha).angle(d.va);
        return;
    }
    case kKindSD: {
        const auto& d = r.as<sd_data>();
        w.start(dialect.distance)
            .text(output_name(d.name))
            .dist(d.target_height)
            .text(d.code.view());
        dialect.observation(w, d.ha, d.va, d.sd);
        return;
    }
    case kKindSC: {
        const auto& d = r.as<sc_data>();
        w.start(dialect.coordinates_start)
            .text(output_name(d.name))
            .dist(d.target_height)
            .text(d.code.view());
        if (d.has_obs == 1)
            dialect.observation(w, d.ha, d.va, d.sd);
        w.start(dialect.coordinates).dist(d.east).dist(d.north).dist(d.elev);
        return;
    }
    case kKindNOTE:
        if (dialect.notes) {
            w.start("NOTE").text(r.as<note_data>().text);
            return;
        }
        break;
    default:
        break;
    }
    out.emplace_back("wrong type in record item");
}

const RecordDialect& job_text_dialect() {
    static const struct JobText : RecordDialect {
        JobText() : RecordDialect{"STA", "SA", "SD", "SC", "ENZ", true} {}
        void observation(LineWriter& w, double ha, double va, double sd) const override {
            w.start("HVD").angle(ha).angle(va).dist(sd);
        }
    } dialect;
    return dialect;
}

void append_record_lines(const record_item& r, Units units, Lines& out) {
    append_record_lines(r, units, job_text_dialect(), out);
}

std::string format_record(const record_item& r, Units units) {
    Lines lines;
    append_record_lines(r, units, lines);
    return join_with_bars(lines);
}

namespace {
int parse_named_line(std::string_view line, std::string_view keyword, std::string& name) {
    if (line.size() <= 8)
        return -1;
    if (line_keyword(line) != keyword)
        return -2;
    name.assign(line.substr(8));
    return 0;
}
} // namespace

int parse_job_line(std::string_view line, std::string& name) {
    return parse_named_line(line, "JOB", name);
}

int parse_inst_line(std::string_view line, std::string& name) {
    return parse_named_line(line, "INST", name);
}

void pair_records(std::vector<record_item>& records) {
    std::size_t w = 0;
    const std::size_t n = records.size();
    for (std::size_t i = 0; i < n; ++i) {
        record_item& cur = records[i];
        record_item* next = i + 1 < n ? &records[i + 1] : nullptr;
        if (auto* sc = std::get_if<sc_data>(&cur.data); sc && next && sc->has_obs == 0) {
            const auto* sd = std::get_if<sd_data>(&next->data);
            if (sd && sd->name == sc->name && sc->name.view() != kNoName) {
                sc->ha = sd->ha;
                sc->va = sd->va;
                sc->sd = sd->sd;
                sc->has_obs = 1;
                ++i;
            }
        } else if (auto* bs = std::get_if<bs_data>(&cur.data); bs && next && bs->has_bss == 0) {
            const auto* bsc = std::get_if<sc_data>(&next->data);
            if (bsc && bsc->name == bs->name && bs->name.view() != kNoName &&
                bsc->code.view() == "BSS") {
                bs->bss_north = bsc->north;
                bs->bss_east = bsc->east;
                bs->bss_elev = bsc->elev;
                bs->has_bss = 1;
                ++i;
            }
        }
        if (&records[w] != &cur)
            records[w] = std::move(cur);
        ++w;
    }
    records.resize(w);
}

namespace {

template <typename LineRange>
std::string_view load_job_text_from(const LineRange& lines, Job& job) {
    if (lines.size() < 2)
        return kLoadTooShort;

    // Records are at most the lines that open one: reserving exactly that keeps a big job's
    // list from regrowing (and from holding up to twice its size while it does).
    std::size_t openers = 0;
    for (const auto& element : lines) {
        const std::string_view line = element;
        const LineRole role = line_role(line_keyword(line));
        openers += role == LineRole::StandAlone || role == LineRole::RecordStart;
    }
    std::vector<record_item> records;
    records.reserve(openers);
    std::string job_name, inst_name;
    std::vector<std::string_view> first; // held until the second record decides JOB/INST
    std::size_t index = 0;
    bool names_read = false;
    bool failed = false;

    auto parse_one = [&](std::span<const std::string_view> rec) {
        if (failed)
            return;
        record_item r;
        if (parse_record(rec, r) != kRecordOk) {
            failed = true;
            return;
        }
        records.push_back(std::move(r));
    };

    const int rc = for_each_logical_record(lines, [&](std::span<const std::string_view> rec) {
        const std::size_t i = index++;
        if (i == 0) {
            first.assign(rec.begin(), rec.end());
            return;
        }
        if (i == 1) {
            names_read = parse_job_line(first.front(), job_name) == 0 &&
                         parse_inst_line(rec.front(), inst_name) == 0;
            if (!names_read) {
                parse_one(first);
                parse_one(rec);
            }
            return;
        }
        parse_one(rec);
    });
    if (rc != kRecordOk)
        return kLoadGroupFailed;
    if (index == 1)
        parse_one(first); // a single logical record cannot be a JOB and an INST line
    if (failed)
        return kLoadRecordFailed;

    pair_records(records);
    job.RecordList = std::move(records);
    job.JobName = names_read ? std::move(job_name) : std::string(kNoName);
    job.InstName = names_read ? std::move(inst_name) : std::string(kNoInstrument);
    return kLoadOk;
}

template <typename Line>
std::string_view load_to_break(std::span<const Line> lines, Job& job, std::optional<JobCut>& cut) {
    cut.reset();
    const std::string_view whole = load_job_text_from(lines, job);
    if (whole == kLoadOk)
        return whole;
    // The last line that is not passed over, and the last line that opens a record.
    std::size_t last = lines.size();
    while (last > 0 && is_skipped_line(std::string_view(lines[last - 1])))
        --last;
    if (last == 0)
        return whole;
    std::size_t opener = last;
    while (opener > 0) {
        const LineRole role = line_role(line_keyword(std::string_view(lines[opener - 1])));
        if (role == LineRole::StandAlone || role == LineRole::RecordStart)
            break;
        --opener;
    }
    // A fragment of a line at the very end may be the start of a record of its own; else the
    // record that the last opener starts is the broken one.
    std::vector<std::size_t> ends;
    if (line_role(line_keyword(std::string_view(lines[last - 1]))) == LineRole::Unknown)
        ends.push_back(last - 1);
    if (opener > 0 && (ends.empty() || opener - 1 < ends.back()))
        ends.push_back(opener - 1);
    for (const std::size_t end : ends) {
        Job kept;
        if (load_job_text_from(lines.first(end), kept) != kLoadOk || kept.RecordList.empty())
            continue;
        cut = JobCut{end + 1, kept.RecordList.size()};
        job = std::move(kept);
        return kLoadOk;
    }
    return whole;
}

} // namespace

std::string_view load_job_text(std::span<const std::string> lines, Job& job) {
    return load_job_text_from(lines, job);
}

std::string_view load_job_text_to_break(std::span<const std::string> lines, Job& job,
                                        std::optional<JobCut>& cut) {
    return load_to_break(lines, job, cut);
}

std::string_view load_job_text_to_break(std::span<const std::string_view> lines, Job& job,
                                        std::optional<JobCut>& cut) {
    return load_to_break(lines, job, cut);
}

std::string_view load_job_text(std::span<const std::string_view> lines, Job& job) {
    return load_job_text_from(lines, job);
}

Lines write_job_text(const Job& job) {
    Lines out;
    out.reserve(job.RecordList.size() * 2 + 2);
    out.push_back("JOB     " + job.JobName);
    out.push_back("INST    " + job.InstName);
    for (const record_item& r : job.RecordList)
        append_record_lines(r, kJobTextUnits, out);
    return out;
}

bool is_record_text(std::span<const std::string> lines) {
    return is_record_text(views_of(lines));
}

bool is_record_text(std::span<const std::string_view> lines) {
    for (std::string_view line : lines) {
        if (is_skipped_line(line))
            continue;
        if (trim(line).size() <= 8)
            return false;
        const std::string_view kw = trim(line.substr(0, 8));
        return kw == "JOB" || kw.find(',') == std::string_view::npos;
    }
    return false;
}

} // namespace telvane
