// Draws the program's icon: once as SVG (the scalable icon) and as PNG files of the sizes the
// desktop asks for, all from the one drawing below, so that they cannot drift apart.
// make_icon <output folder> <size>...: writes telvane.svg and telvane-<size>.png.
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QSaveFile>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

// The icon on a 64 x 64 grid: an instrument with its telescope on a tripod, on a rounded tile.
struct Shape {
    enum Kind { RoundedRect, Circle, Line } kind;
    double x1, y1, x2, y2; // rect: left, top, width, height; circle: centre, radius; line: ends
    double radius_or_width;
    const char* fill; // fill colour, or the stroke colour of a line
};

const std::vector<Shape> kShapes = {
    {Shape::RoundedRect, 2, 2, 60, 60, 12, "#1f4e79"},
    {Shape::Line, 32, 38, 15, 58, 3.5, "#f2c14e"},
    {Shape::Line, 32, 38, 49, 58, 3.5, "#f2c14e"},
    {Shape::Line, 32, 38, 32, 58, 3.5, "#f2c14e"},
    {Shape::RoundedRect, 18, 10, 28, 28, 4, "#e8edf2"},
    {Shape::Circle, 32, 22, 0, 0, 8, "#1f4e79"},
    {Shape::Circle, 32, 22, 0, 0, 3.5, "#7fc8f8"},
    {Shape::RoundedRect, 22, 32, 20, 3, 1.5, "#9aa8b5"},
};

std::string number(double v) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%g", v);
    return buffer;
}

std::string svg() {
    std::string out = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                      "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"64\" height=\"64\" "
                      "viewBox=\"0 0 64 64\">\n";
    for (const Shape& s : kShapes) {
        switch (s.kind) {
        case Shape::RoundedRect:
            out += "  <rect x=\"" + number(s.x1) + "\" y=\"" + number(s.y1) + "\" width=\"" +
                   number(s.x2) + "\" height=\"" + number(s.y2) + "\" rx=\"" +
                   number(s.radius_or_width) + "\" fill=\"" + s.fill + "\"/>\n";
            break;
        case Shape::Circle:
            out += "  <circle cx=\"" + number(s.x1) + "\" cy=\"" + number(s.y1) + "\" r=\"" +
                   number(s.radius_or_width) + "\" fill=\"" + s.fill + "\"/>\n";
            break;
        case Shape::Line:
            out += "  <line x1=\"" + number(s.x1) + "\" y1=\"" + number(s.y1) + "\" x2=\"" +
                   number(s.x2) + "\" y2=\"" + number(s.y2) + "\" stroke=\"" + s.fill +
                   "\" stroke-width=\"" + number(s.radius_or_width) +
                   "\" stroke-linecap=\"round\"/>\n";
            break;
        }
    }
    return out + "</svg>\n";
}

QImage png(int size) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 64.0, size / 64.0);
    for (const Shape& s : kShapes) {
        const QColor colour(QString::fromLatin1(s.fill));
        switch (s.kind) {
        case Shape::RoundedRect:
            p.setPen(Qt::NoPen);
            p.setBrush(colour);
            p.drawRoundedRect(QRectF(s.x1, s.y1, s.x2, s.y2), s.radius_or_width, s.radius_or_width);
            break;
        case Shape::Circle:
            p.setPen(Qt::NoPen);
            p.setBrush(colour);
            p.drawEllipse(QPointF(s.x1, s.y1), s.radius_or_width, s.radius_or_width);
            break;
        case Shape::Line:
            p.setPen(QPen(colour, s.radius_or_width, Qt::SolidLine, Qt::RoundCap));
            p.drawLine(QPointF(s.x1, s.y1), QPointF(s.x2, s.y2));
            break;
        }
    }
    return image;
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: make_icon <output folder> <size>...\n");
        return 2;
    }
    QGuiApplication app(argc, argv); // QImage and QPainter want one; the platform is offscreen
    const QString folder = QString::fromLocal8Bit(argv[1]);
    QSaveFile file(folder + QStringLiteral("/telvane.svg"));
    const std::string text = svg();
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(text.data(), static_cast<qint64>(text.size())) != qint64(text.size()) ||
        !file.commit()) {
        std::fprintf(stderr, "make_icon: cannot write telvane.svg in %s\n", argv[1]);
        return 1;
    }
    for (int i = 2; i < argc; ++i) {
        const int size = std::atoi(argv[i]);
        const QString name = folder + QStringLiteral("/telvane-%1.png").arg(size);
        if (size <= 0 || !png(size).save(name, "PNG")) {
            std::fprintf(stderr, "make_icon: cannot write a %s pixel icon\n", argv[i]);
            return 1;
        }
    }
    return 0;
}
