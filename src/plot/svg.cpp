#include "picture.h"

#include "model/numtext.h"

#include <algorithm>
#include <cmath>

namespace telvane::plot {

namespace {

constexpr double kMargin = 40;

std::string escaped(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        default:
            // Control characters have no place in XML text.
            if (static_cast<unsigned char>(c) >= 32 || c == '\t')
                out += c;
        }
    }
    return out;
}

std::string num(double v) {
    return format_fixed(v, 2);
}

// "#rrggbb" of a colour.
std::string hex(unsigned rgb) {
    static const char digits[] = "0123456789abcdef";
    std::string out = "#";
    for (int shift = 20; shift >= 0; shift -= 4)
        out += digits[(rgb >> shift) & 0xf];
    return out;
}

} // namespace

std::string svg(const Picture& pic, int width, std::string_view title,
                const std::function<std::string(std::string_view)>& to_utf8) {
    Extents e = pic.extents;
    if (e.empty)
        e.add({0, 0});
    const double dx = std::max(e.max_x - e.min_x, 1e-9);
    const double dy = std::max(e.max_y - e.min_y, 1e-9);
    const double inner_w = std::max(width - 2 * kMargin, 10.0);
    double sx = inner_w / dx;
    double sy = sx;
    double inner_h = dy * sy;
    if (!pic.north_up) {
        inner_h = inner_w / 2; // a profile: its own vertical scale
        sy = inner_h / dy;
    } else if (inner_h > 4 * inner_w) { // a long north-south plan stays on the page
        sx = sy = 4 * inner_w / dy;
        inner_h = 4 * inner_w;
    }
    const double height = inner_h + 2 * kMargin;
    auto X = [&](double x) { return kMargin + (x - e.min_x) * sx; };
    auto Y = [&](double y) { return kMargin + (e.max_y - y) * sy; }; // north (up) is up

    std::string out;
    out.reserve(4096 + pic.marks.size() * 96);
    out += "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    out += "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" + format_int(width) +
           "\" height=\"" + num(height) + "\" viewBox=\"0 0 " + format_int(width) + " " +
           num(height) + "\" font-family=\"sans-serif\" font-size=\"11\">\n";
    out += "<title>" + escaped(to_utf8(title)) + "</title>\n";
    out += "<rect width=\"100%\" height=\"100%\" fill=\"#ffffff\"/>\n";
    out += "<text x=\"" + num(kMargin) + "\" y=\"20\" font-size=\"14\">" + escaped(to_utf8(title)) +
           "</text>\n";
    for (std::size_t k = 0; k < pic.notes.size(); ++k)
        out += "<text x=\"" + num(kMargin) + "\" y=\"" +
               format_int(34 + 13 * static_cast<long long>(k)) + "\" font-size=\"12\">" +
               escaped(to_utf8(pic.notes[k])) + "</text>\n";
    for (const Polyline& line : pic.lines) {
        if (line.points.size() < 2)
            continue;
        out += "<polyline fill=\"none\" stroke=\"";
        out += hex(stroke_colour(line.stroke));
        out += "\" stroke-width=\"";
        out += line.stroke == Stroke::OffsetLine ? "0.8" : "1.6";
        if (line.stroke == Stroke::Tangents || line.stroke == Stroke::Grade)
            out += "\" stroke-dasharray=\"6 4";
        out += "\" points=\"";
        for (const XY& p : line.points) {
            out += num(X(p.x));
            out += ',';
            out += num(Y(p.y));
            out += ' ';
        }
        out += "\"/>\n";
    }
    for (const Mark& m : pic.marks) {
        out += "<circle cx=\"" + num(X(m.at.x)) + "\" cy=\"" + num(Y(m.at.y)) + "\" r=\"" +
               (m.kind == MarkKind::StakeSide ? "2" : "3") + "\" fill=\"" +
               hex(mark_colour(m.kind)) + "\"/>\n";
        if (!m.label.empty())
            out += "<text x=\"" + num(X(m.at.x) + 5) + "\" y=\"" + num(Y(m.at.y) - 5) + "\">" +
                   escaped(to_utf8(m.label)) + "</text>\n";
    }
    const double bottom = height - kMargin / 2;
    if (pic.north_up) {
        // Scale bar, and the north arrow.
        const double length = round_length(dx / 5);
        const double px = length * sx;
        out += "<line x1=\"" + num(kMargin) + "\" y1=\"" + num(bottom) + "\" x2=\"" +
               num(kMargin + px) + "\" y2=\"" + num(bottom) +
               "\" stroke=\"#000\" stroke-width=\"2\"/>\n";
        out += "<text x=\"" + num(kMargin) + "\" y=\"" + num(bottom - 4) + "\">" +
               format_general(length) + " m</text>\n";
        out += "<text x=\"" + format_int(width - 30) +
               "\" y=\"24\" font-size=\"14\">N &#8593;</text>\n";
    } else {
        // Chainage and elevation axes with round ticks.
        const double tick_x = round_length(dx / 6), tick_y = round_length(dy / 4);
        out += "<line x1=\"" + num(kMargin) + "\" y1=\"" + num(kMargin + inner_h) + "\" x2=\"" +
               num(kMargin + inner_w) + "\" y2=\"" + num(kMargin + inner_h) +
               "\" stroke=\"#000\"/>\n";
        out += "<line x1=\"" + num(kMargin) + "\" y1=\"" + num(kMargin) + "\" x2=\"" +
               num(kMargin) + "\" y2=\"" + num(kMargin + inner_h) + "\" stroke=\"#000\"/>\n";
        for (double t = std::ceil(e.min_x / tick_x) * tick_x; t <= e.max_x; t += tick_x)
            out += "<text x=\"" + num(X(t)) + "\" y=\"" + num(kMargin + inner_h + 14) +
                   "\" text-anchor=\"middle\">" + escaped(chainage_text(t)) + "</text>\n";
        for (double t = std::ceil(e.min_y / tick_y) * tick_y; t <= e.max_y; t += tick_y)
            out += "<text x=\"" + num(kMargin - 4) + "\" y=\"" + num(Y(t)) +
                   "\" text-anchor=\"end\">" + format_general(t) + "</text>\n";
    }
    out += "</svg>\n";
    return out;
}

} // namespace telvane::plot
