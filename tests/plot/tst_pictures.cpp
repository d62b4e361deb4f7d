// The pictures on screen and on file: the road window's plan and profile after a calculation,
// the points map of the main window, and SVG files that a real SVG renderer draws.
#include "mainwindow/points_map.h"
#include "shown_program.h"
#include "ui/plot_view.h"

#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QSvgRenderer>
#include <QTabWidget>
#include <QTableView>
#include <QTest>
#include <QXmlStreamReader>

using namespace telvane;

namespace {

// The pictures' own type list in FileType.cfg.
struct Program : ShownProgram {
    Program()
        : ShownProgram([](TestFiles& f) {
              f.write_gbk("FileType.cfg", "[PICTURE_FILTER]\nEnglish=SVG|*.svg|PNG|*.png\n");
          }) {}
};

// Valid XML that Qt's SVG renderer takes and draws something of.
void expect_drawable_svg(const QByteArray& svg) {
    QXmlStreamReader xml(svg);
    while (!xml.atEnd())
        xml.readNext();
    QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
    QSvgRenderer renderer(svg);
    QVERIFY(renderer.isValid());
    QImage image(renderer.defaultSize(), QImage::Format_ARGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    renderer.render(&painter);
    painter.end();
    int drawn = 0;
    for (int y = 0; y < image.height(); y += 2)
        for (int x = 0; x < image.width(); x += 2)
            drawn += image.pixel(x, y) != qRgb(255, 255, 255);
    QVERIFY(drawn > 50);
}

} // namespace

class TestPictures : public QObject {
    Q_OBJECT
private slots:
    void roadWindowDrawsEveryCalculation() {
        Program p;
        p.windows->Form1->RoadCalcBtn->click();
        road::TFormRoadCalculate& r = *p.windows->FormRoadCalculate;
        const QString examples = QStringLiteral(TELVANE_EXAMPLES);
        const std::pair<int, const char*> files[] = {
            {0, "road.PHI"}, {2, "road.PVI"}, {3, "stakes.csv"}};
        for (auto [page, name] : files) {
            r.PageControl1->setCurrentIndex(page);
            p.prompts.fileAnswers << FileChoice{examples + "/" + name, 1};
            r.BtnLoadClick();
        }
        QVERIFY(r.PlanView->Picture().lines.empty());
        r.Edit5->setText("5");
        r.BtnCalculateClick();
        const plot::Picture& plan = r.PlanView->Picture();
        QVERIFY(plan.lines.size() > 5);
        QVERIFY(!r.ProfileView->Picture().lines.empty());
        // The readout over the first stake names its chainage and an offset of about 0.
        const road::Pile& stake = r.Data.Stakes()[1];
        const QPointF at = r.PlanView->ToScreen({stake.MiddleE, stake.MiddleN});
        const QString readout = r.PlanView->Readout(at);
        QVERIFY2(
            readout.contains(QString::fromStdString(plot::chainage_text(stake.Mileage)).left(6)),
            qPrintable(readout));
        // Zoom about the cursor keeps the point under it; pan moves it with the mouse; fit again.
        const plot::XY before = r.PlanView->ToWorld(QPointF(100, 80));
        r.PlanView->ZoomAt(QPointF(100, 80), 3);
        const plot::XY after = r.PlanView->ToWorld(QPointF(100, 80));
        QVERIFY(std::fabs(before.x - after.x) < 1e-6 && std::fabs(before.y - after.y) < 1e-6);
        r.PlanView->PanBy(QPointF(10, 0));
        QVERIFY(std::fabs(r.PlanView->ToWorld(QPointF(110, 80)).x - after.x) < 1e-6);
        r.BtnFitPicture->click();
        // Saved as SVG and as PNG.
        p.prompts.fileAnswers << FileChoice{p.path("plan"), 1};
        r.BtnSavePictureClick();
        QFile svg(p.path("plan.svg"));
        QVERIFY(svg.open(QIODevice::ReadOnly));
        expect_drawable_svg(svg.readAll());
        r.PicturePages->setCurrentIndex(1);
        p.prompts.fileAnswers << FileChoice{p.path("profile"), 2};
        r.BtnSavePictureClick();
        QVERIFY(!QImage(p.path("profile.png")).isNull());
        p.prompts.fileAnswers << FileChoice{p.path("profile.svg"), 1};
        r.BtnSavePictureClick();
        QFile profile(p.path("profile.svg"));
        QVERIFY(profile.open(QIODevice::ReadOnly));
        expect_drawable_svg(profile.readAll());
        // Clear leaves nothing to draw.
        p.prompts.answers = {1};
        r.BtnClearClick();
        QVERIFY(r.PlanView->Picture().lines.empty());
    }

    void curvesStayCurvesAtEveryZoomAndFitShowsEverything() {
        Program p;
        p.windows->Form1->RoadCalcBtn->click();
        road::TFormRoadCalculate& r = *p.windows->FormRoadCalculate;
        const QString examples = QStringLiteral(TELVANE_EXAMPLES);
        const std::pair<int, const char*> files[] = {
            {0, "road.PHI"}, {2, "road.PVI"}, {3, "stakes.csv"}};
        for (auto [page, name] : files) {
            r.PageControl1->setCurrentIndex(page);
            p.prompts.fileAnswers << FileChoice{examples + "/" + name, 1};
            r.BtnLoadClick();
        }
        r.Edit5->setText("5");
        r.BtnCalculateClick();
        PlotView& plan = *r.PlanView;
        r.PicturePages->setCurrentIndex(0);
        // At the zoom on show, no chord of an arc or a spiral leaves the axis by half a pixel.
        for (const double zoom : {1.0, 8.0, 64.0}) {
            plan.ZoomAt(QPointF(plan.width() / 2.0, plan.height() / 2.0), zoom);
            (void)plan.grab(); // painted: sampled for this zoom
            std::size_t chords = 0;
            for (const plot::Polyline& line : plan.Picture().lines) {
                if (line.stroke != plot::Stroke::Arc && line.stroke != plot::Stroke::Clothoid)
                    continue;
                QVERIFY(line.points.size() >= 2);
                if (zoom >= 64) // zoomed in, every curve is many chords
                    QVERIFY2(line.points.size() > 3,
                             qPrintable(QString("%1 points, %2 to %3, tolerance %4")
                                            .arg(line.points.size())
                                            .arg(line.chainage.front())
                                            .arg(line.chainage.back())
                                            .arg(plan.SampledTolerance())));
                for (std::size_t i = 1; i < line.points.size(); ++i) {
                    road::Pile mid;
                    QVERIFY(r.Data.Engine.CalculatePile(
                        (line.chainage[i - 1] + line.chainage[i]) / 2, 0, mid));
                    const QPointF a = plan.ToScreen(line.points[i - 1]);
                    const QPointF b = plan.ToScreen(line.points[i]);
                    const QPointF m = plan.ToScreen({mid.MiddleE, mid.MiddleN});
                    const double length = std::hypot(b.x() - a.x(), b.y() - a.y());
                    const double off = length == 0 ? 0
                                                   : std::fabs((b.x() - a.x()) * (m.y() - a.y()) -
                                                               (b.y() - a.y()) * (m.x() - a.x())) /
                                                         length;
                    QVERIFY2(off <= 0.5 + 1e-6, qPrintable(QString::number(off)));
                    ++chords;
                }
            }
            QVERIFY(chords > 0);
        }
        // Fit shows the whole profile: every point of it and every label inside the view.
        r.PicturePages->setCurrentIndex(1);
        PlotView& profile = *r.ProfileView;
        (void)profile.grab();
        profile.Fit();
        const QRectF area = profile.rect();
        const QFontMetricsF metrics(profile.font());
        for (const plot::Polyline& line : profile.Picture().lines)
            for (const plot::XY& w : line.points)
                QVERIFY(area.contains(profile.ToScreen(w)));
        for (const plot::Mark& m : profile.Picture().marks) {
            const QPointF at = profile.ToScreen(m.at);
            QVERIFY(area.contains(at));
            if (m.label.empty())
                continue;
            const QRectF label(
                at + QPointF(5, -5 - metrics.ascent()),
                QSizeF(metrics.horizontalAdvance(fromGbk(m.label)), metrics.height()));
            QVERIFY2(area.contains(label), m.label.c_str());
        }

        // Save picture: the chosen type for a bare name, and a PNG at least as big as the view on
        // a white background.
        r.PicturePages->setCurrentIndex(0);
        p.prompts.fileAnswers << FileChoice{p.path("bare"), 2};
        r.BtnSavePictureClick();
        QCOMPARE(p.prompts.saveDefaultExts.back(), QString());
        const QImage png(p.path("bare.png"));
        QVERIFY(!png.isNull());
        QVERIFY(png.width() >= plan.width() && png.height() >= plan.height());
        QVERIFY(png.width() >= 1200);
        QCOMPARE(png.pixel(png.width() / 2, 1), qRgb(255, 255, 255));
        QVERIFY(!QFileInfo::exists(p.path("bare.svg")));
    }

    // A view with nothing to draw shows no scale bar, no North and no ticks: a blank view.
    void anEmptyPictureIsBlank() {
        for (const bool north_up : {true, false}) {
            PlotView view;
            view.resize(300, 200);
            plot::Picture empty;
            empty.north_up = north_up;
            view.SetPicture(empty);
            const QImage shot = view.grab().toImage();
            const QRgb background = shot.pixel(0, 0);
            int other = 0;
            for (int y = 0; y < shot.height(); ++y)
                for (int x = 0; x < shot.width(); ++x)
                    other += shot.pixel(x, y) != background;
            QCOMPARE(other, 0);
        }
    }

    void pointsMapSelectsTheClickedRow() {
        Program p;
        TForm1& f = *p.windows->Form1;
        p.files.write("p.csv", "A,C,100,200,1\r\nB,D,150,260,2\r\nC,E,90,300,3\r\n");
        QVERIFY(f.OpenFile(p.path("p.csv")));
        f.MapBtn->click();
        TFormPointsMap& map = *f.PointsMap;
        QVERIFY(map.isVisible());
        QCOMPARE(map.MapView->Picture().marks.size(), std::size_t(3));
        QCOMPARE(map.MapView->Picture().marks[1].label, std::string("B"));
        map.ShowCodes->setChecked(true);
        QCOMPARE(map.MapView->Picture().marks[1].label, std::string("B D"));
        const QPointF at = map.MapView->ToScreen(map.MapView->Picture().marks[2].at);
        QCOMPARE(map.MapView->MarkAt(at), 2);
        QTest::mouseClick(map.MapView, Qt::LeftButton, Qt::NoModifier, at.toPoint());
        QCOMPARE(f.StrGrid->currentIndex().row(), 2);
        // The map follows the data on show.
        p.files.write("q.csv", "Z,C,1,2,3\r\n");
        QVERIFY(f.OpenFile(p.path("q.csv")));
        QCOMPARE(map.MapView->Picture().marks.size(), std::size_t(1));
        // Many points: drawn as pixels, every frame.
        std::vector<coord_item> many(50000);
        for (std::size_t i = 0; i < many.size(); ++i)
            many[i] = {"P", "", static_cast<double>(i % 300), static_cast<double>(i / 300), 0};
        map.SetPoints(many);
        QImage frame(map.MapView->size(), QImage::Format_ARGB32);
        map.MapView->render(&frame);
        QVERIFY(!frame.isNull());
    }

    void svgFilesOfEveryPicture() {
        std::vector<coord_item> points = {{"\xD6\xD0", "T<1>", 100, 200, 1}, {"B", "", 50, 80, 2}};
        const auto utf8 = [](std::string_view s) { return fromGbk(s).toStdString(); };
        const std::string map = plot::svg(plot::points_map(points, true), 600, "map", utf8);
        expect_drawable_svg(QByteArray::fromStdString(map));
        QVERIFY(QString::fromStdString(map).contains(QStringLiteral("中")));
        QVERIFY(map.find("T&lt;1&gt;") != std::string::npos);
    }
};

QTEST_MAIN(TestPictures)
#include "tst_pictures.moc"
