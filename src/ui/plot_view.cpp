#include "plot_view.h"

#include "codec.h"

#include "model/numtext.h"

#include <QFontMetricsF>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QSaveFile>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

namespace telvane {

namespace {

constexpr double kMargin = 20;
// Above this many marks on show they are drawn as pixels, without labels.
constexpr std::size_t kLabelledMarks = 3000;

QColor pen_colour(plot::Stroke s) {
    return QColor(static_cast<QRgb>(plot::stroke_colour(s))); // solid: the alpha byte is ignored
}

QColor fill_colour(plot::MarkKind k) {
    return QColor(static_cast<QRgb>(plot::mark_colour(k)));
}

QString number(double v, int decimals) {
    return QString::fromStdString(format_fixed(v, decimals));
}

} // namespace

PlotView::PlotView(QWidget* parent) : QWidget(parent) {
    setMouseTracking(true);
    setMinimumSize(200, 150);
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, Qt::white);
    setPalette(p);
}

void PlotView::SetPicture(plot::Picture picture) {
    sampler_ = nullptr;
    sampled_tolerance_ = 0;
    picture_ = std::move(picture);
    Fit();
}

namespace {

// Finer than this the chords need not be: a tenth of a millimetre on the ground.
constexpr double kFinestTolerance = 1e-4;

} // namespace

void PlotView::SetSampler(Sampler sampler) {
    sampler_ = std::move(sampler);
    // A first sampling to know the extents: a hundredth of the picture's width in chords.
    picture_ = sampler_(1e3);
    const plot::Extents& e = picture_.extents;
    const double span = e.empty ? 1.0 : std::max({e.max_x - e.min_x, e.max_y - e.min_y, 1e-3});
    sampled_tolerance_ = std::max(span / 100, kFinestTolerance);
    picture_ = sampler_(sampled_tolerance_);
    Fit();
}

void PlotView::resample() {
    if (!sampler_)
        return;
    // Half a pixel of the zoom on show; sampled again when the chords are too coarse for it, or
    // so much finer than needed that drawing would slow down.
    const double needed = std::max(0.5 / std::max(scale_x_, 1e-12), kFinestTolerance);
    if (sampled_tolerance_ <= needed && sampled_tolerance_ * 16 >= needed)
        return;
    picture_ = sampler_(needed);
    sampled_tolerance_ = needed;
}

QMarginsF PlotView::fit_margins() const {
    QMarginsF m(kMargin, kMargin, kMargin, kMargin);
    const QFontMetricsF metrics(font());
    if (!picture_.north_up) {
        // The elevation labels up the left and the chainage labels along the bottom.
        m.setLeft(kMargin + metrics.horizontalAdvance(QStringLiteral("00000.0")));
        m.setBottom(kMargin + metrics.height());
    }
    // Labels are drawn to the right of and above their marks.
    double widest = 0;
    for (const plot::Mark& mark : picture_.marks)
        if (!mark.label.empty() && picture_.marks.size() <= kLabelledMarks)
            widest = std::max(widest, metrics.horizontalAdvance(fromGbk(mark.label)));
    if (widest > 0) {
        m.setRight(std::max(m.right(), widest + 8));
        m.setTop(std::max(m.top(), metrics.height() + 6));
    }
    return m;
}

void PlotView::Fit() {
    plot::Extents e = picture_.extents;
    if (e.empty)
        e.add({0, 0});
    const QMarginsF m = fit_margins();
    const double dx = std::max(e.max_x - e.min_x, 1e-6);
    const double dy = std::max(e.max_y - e.min_y, 1e-6);
    const double w = std::max(width() - m.left() - m.right(), 10.0);
    const double h = std::max(height() - m.top() - m.bottom(), 10.0);
    scale_x_ = w / dx;
    scale_y_ = h / dy;
    if (picture_.north_up) // a plan keeps one scale both ways
        scale_x_ = scale_y_ = std::min(scale_x_, scale_y_);
    // Centred in the room the margins leave.
    const double cx = (e.min_x + e.max_x) / 2, cy = (e.min_y + e.max_y) / 2;
    origin_x_ = cx - (m.left() + w / 2.0) / scale_x_;
    origin_y_ = cy + (m.top() + h / 2.0) / scale_y_;
    fitted_ = true;
    update();
}

plot::XY PlotView::ToWorld(QPointF at) const {
    return {origin_x_ + at.x() / scale_x_, origin_y_ - at.y() / scale_y_};
}

QPointF PlotView::ToScreen(plot::XY w) const {
    return {(w.x - origin_x_) * scale_x_, (origin_y_ - w.y) * scale_y_};
}

void PlotView::ZoomAt(QPointF at, double factor) {
    const plot::XY fixed = ToWorld(at);
    scale_x_ *= factor;
    scale_y_ *= factor;
    origin_x_ = fixed.x - at.x() / scale_x_;
    origin_y_ = fixed.y + at.y() / scale_y_;
    update();
}

void PlotView::PanBy(QPointF pixels) {
    origin_x_ -= pixels.x() / scale_x_;
    origin_y_ += pixels.y() / scale_y_;
    update();
}

QString PlotView::Readout(QPointF at) const {
    const plot::XY w = ToWorld(at);
    if (!picture_.north_up)
        return chainage_text + " " + QString::fromStdString(plot::chainage_text(w.x)) + "  " +
               height_text + " " + number(w.y, 3);
    QString text = north_text + " " + number(w.y, 3) + "  " + east_text + " " + number(w.x, 3);
    // The nearest point of the axis gives the chainage; the offset is positive to the right.
    double best = -1, chainage = 0, offset = 0;
    for (const plot::Polyline& line : picture_.lines) {
        if (line.chainage.size() != line.points.size())
            continue;
        for (std::size_t i = 1; i < line.points.size(); ++i) {
            const plot::XY a = line.points[i - 1], b = line.points[i];
            const double dx = b.x - a.x, dy = b.y - a.y;
            const double len2 = dx * dx + dy * dy;
            if (len2 <= 0)
                continue;
            const double t = std::clamp(((w.x - a.x) * dx + (w.y - a.y) * dy) / len2, 0.0, 1.0);
            const double px = a.x + t * dx - w.x, py = a.y + t * dy - w.y;
            const double d = std::hypot(px, py);
            if (best < 0 || d < best) {
                best = d;
                chainage = line.chainage[i - 1] + t * (line.chainage[i] - line.chainage[i - 1]);
                // Facing along the axis (dx, dy), right of it is where the cross product is
                // negative.
                const double cross = dx * (w.y - a.y) - dy * (w.x - a.x);
                offset = cross > 0 ? -d : d;
            }
        }
    }
    if (best >= 0)
        text += "  " + chainage_text + " " + QString::fromStdString(plot::chainage_text(chainage)) +
                "  " + offset_text + " " + number(offset, 3);
    return text;
}

int PlotView::MarkAt(QPointF at) const {
    int found = -1;
    double best = 6; // pixels
    for (std::size_t i = 0; i < picture_.marks.size(); ++i) {
        const QPointF p = ToScreen(picture_.marks[i].at);
        const double d = std::hypot(p.x() - at.x(), p.y() - at.y());
        if (d <= best) {
            best = d;
            found = static_cast<int>(i);
        }
    }
    return found;
}

void PlotView::paintEvent(QPaintEvent*) {
    if (!fitted_)
        Fit();
    resample();
    QPainter p(this);
    draw(p);
}

void PlotView::draw(QPainter& p) const {
    draw_frame(p);
    const QRectF area = rect();
    p.setRenderHint(QPainter::Antialiasing, picture_.marks.size() < kLabelledMarks);
    for (const plot::Polyline& line : picture_.lines) {
        if (line.points.size() < 2)
            continue;
        QPen pen(pen_colour(line.stroke), line.stroke == plot::Stroke::OffsetLine ? 0.8 : 1.6);
        if (line.stroke == plot::Stroke::Tangents || line.stroke == plot::Stroke::Grade)
            pen.setStyle(Qt::DashLine);
        p.setPen(pen);
        // Points closer than half a pixel are one: a long road at a small scale stays cheap.
        QPolygonF polygon;
        polygon.reserve(static_cast<qsizetype>(line.points.size()));
        for (const plot::XY& w : line.points) {
            const QPointF s = ToScreen(w);
            if (polygon.isEmpty() || std::fabs(s.x() - polygon.back().x()) >= 0.5 ||
                std::fabs(s.y() - polygon.back().y()) >= 0.5)
                polygon << s;
        }
        if (polygon.size() < 2)
            polygon << ToScreen(line.points.back());
        p.drawPolyline(polygon);
    }
    // Marks: those on show only; many become pixels of one image.
    std::size_t on_show = 0;
    for (const plot::Mark& m : picture_.marks)
        if (area.contains(ToScreen(m.at)))
            ++on_show;
    if (on_show > kLabelledMarks) {
        QImage image(size(), QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        const int w = image.width(), h = image.height();
        auto* bits = reinterpret_cast<QRgb*>(image.bits());
        const qsizetype stride = image.bytesPerLine() / 4;
        for (const plot::Mark& m : picture_.marks) {
            const QPointF s = ToScreen(m.at);
            const int x = static_cast<int>(s.x()), y = static_cast<int>(s.y());
            if (x < 0 || y < 0 || x >= w || y >= h)
                continue;
            bits[y * stride + x] = fill_colour(m.kind).rgba();
        }
        p.drawImage(0, 0, image);
        return;
    }
    p.setRenderHint(QPainter::Antialiasing, true);
    for (const plot::Mark& m : picture_.marks) {
        const QPointF s = ToScreen(m.at);
        if (!area.contains(s))
            continue;
        const double r = m.kind == plot::MarkKind::StakeSide ? 2 : 3;
        p.setPen(Qt::NoPen);
        p.setBrush(fill_colour(m.kind));
        p.drawEllipse(s, r, r);
        if (!m.label.empty()) {
            p.setPen(Qt::black);
            p.drawText(s + QPointF(5, -5), fromGbk(m.label));
        }
    }
}

void PlotView::draw_frame(QPainter& p) const {
    // Nothing drawn has no scale.
    if (picture_.lines.empty() && picture_.marks.empty())
        return;
    p.setPen(QPen(Qt::black, 1));
    // The picture's notes (the exaggeration of deviation arrows), bottom left above the scale
    // bar, a line each.
    const auto notes = static_cast<double>(picture_.notes.size());
    for (std::size_t k = 0; k < picture_.notes.size(); ++k)
        p.drawText(QPointF(8, height() - 34 - 16 * (notes - 1 - static_cast<double>(k))),
                   fromGbk(picture_.notes[k]));
    if (picture_.north_up) {
        // Scale bar, bottom left, and North up.
        const double length = plot::round_length(width() / 5.0 / scale_x_);
        const double px = length * scale_x_;
        const double y = height() - 12;
        p.drawLine(QPointF(12, y), QPointF(12 + px, y));
        p.drawLine(QPointF(12, y - 4), QPointF(12, y + 2));
        p.drawLine(QPointF(12 + px, y - 4), QPointF(12 + px, y + 2));
        p.drawText(QPointF(14, y - 5), QString::fromStdString(format_general(length)) + " m");
        p.drawText(QPointF(width() - 24, 18), QStringLiteral("N\u2191"));
        return;
    }
    // Chainage along the bottom, elevation up the left, with round ticks.
    const plot::XY lo = ToWorld(QPointF(0, height())), hi = ToWorld(QPointF(width(), 0));
    const double tick_x = plot::round_length((hi.x - lo.x) / 5),
                 tick_y = plot::round_length((hi.y - lo.y) / 5);
    // A tick's label that would be cut by the edge is left out; the tick stays.
    const QFontMetricsF metrics(p.font());
    // About five ticks each way; a step lost in the size of the values (zoomed far in, far from
    // chainage 0) ends the ticks rather than the program.
    int ticks = 0;
    for (double t = std::ceil(lo.x / tick_x) * tick_x; t <= hi.x && t + tick_x > t && ticks < 50;
         t += tick_x, ++ticks) {
        const double x = ToScreen({t, 0}).x();
        p.drawLine(QPointF(x, height() - 4), QPointF(x, height()));
        const QString label = QString::fromStdString(plot::chainage_text(t));
        if (x + 2 + metrics.horizontalAdvance(label) <= width())
            p.drawText(QPointF(x + 2, height() - 6), label);
    }
    ticks = 0;
    for (double t = std::ceil(lo.y / tick_y) * tick_y; t <= hi.y && t + tick_y > t && ticks < 50;
         t += tick_y, ++ticks) {
        const double y = ToScreen({0, t}).y();
        p.drawLine(QPointF(0, y), QPointF(4, y));
        if (y - 2 - metrics.ascent() >= 0)
            p.drawText(QPointF(6, y - 2), QString::fromStdString(format_general(t)));
    }
}

void PlotView::wheelEvent(QWheelEvent* event) {
    const double steps = event->angleDelta().y() / 120.0;
    if (steps != 0)
        ZoomAt(event->position(), std::pow(1.25, steps));
    event->accept();
}

void PlotView::mousePressEvent(QMouseEvent* event) {
    press_ = last_ = event->position();
    dragging_ = event->button() == Qt::LeftButton;
}

void PlotView::mouseMoveEvent(QMouseEvent* event) {
    if (dragging_) {
        PanBy(event->position() - last_);
        last_ = event->position();
    }
    emit ReadoutChanged(Readout(event->position()));
}

void PlotView::mouseReleaseEvent(QMouseEvent* event) {
    dragging_ = false;
    // A click, not a drag: the mark under the cursor.
    if ((event->position() - press_).manhattanLength() < 4) {
        const int mark = MarkAt(event->position());
        if (mark >= 0)
            emit MarkClicked(mark);
    }
}

void PlotView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    Fit();
}

bool PlotView::Save(const QString& path, const QString& title) {
    // Written whole or not at all: a failed save leaves the old file.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    if (path.endsWith(QLatin1String(".png"), Qt::CaseInsensitive)) {
        // What is on show, at the screen's device pixels or, for a small view, scaled up; the
        // chords are sampled for the pixels of the image.
        if (!fitted_)
            Fit();
        const double f = std::max({devicePixelRatioF(), 1200.0 / std::max(width(), 1), 1.0});
        const double scale_x = scale_x_, scale_y = scale_y_;
        scale_x_ *= f;
        resample();
        scale_x_ = scale_x;
        scale_y_ = scale_y;
        QImage image(QSize(static_cast<int>(std::ceil(width() * f)),
                           static_cast<int>(std::ceil(height() * f))),
                     QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        painter.scale(f, f);
        draw(painter);
        painter.end();
        if (!image.save(&file, "PNG"))
            return false;
    } else {
        const std::string text = plot::svg(picture_, 1200, toGbk(title), [](std::string_view s) {
            return fromGbk(s).toStdString();
        });
        if (file.write(text.data(), static_cast<qint64>(text.size())) !=
            static_cast<qint64>(text.size()))
            return false;
    }
    return file.commit();
}

} // namespace telvane
