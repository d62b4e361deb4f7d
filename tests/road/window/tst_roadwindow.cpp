// The road window, offscreen, every question and entry dialog answered through the scripted
// seam.
#include "pseudo_terminal.h"
#include "shown_program.h"

#include "road/design/stake_names.h"
#include "ui/entry_dialog.h"
#include "ui/plot_view.h"

#include <QComboBox>
#include <QDir>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>

#include <QTest>
#include <QTimer>
#include <cmath>

#include <functional>
#include <memory>

using namespace telvane;
using namespace telvane::road;

namespace {

// The road window up over the main window.
struct Program : ShownProgram {
    Program() { windows->Form1->RoadCalcBtn->click(); }
    TFormRoadCalculate& road() { return *windows->FormRoadCalculate; }
    void page(RoadList p) { road().PageControl1->setCurrentIndex(PageIndex(p)); }
    QString cell(QTableView* t, int row, int column) {
        return t->model()->index(row, column).data().toString();
    }
};

// What the user types into the next entry dialog: boxes by name, lists by position.
using Boxes = QMap<QString, QString>;

Boxes point(const char* name, const char* n, const char* e, const char* r = "0",
            const char* l1 = "0", const char* l2 = "0") {
    return Boxes{{"Edit1", name}, {"Edit2", n},  {"Edit3", e}, {"Edit4", "0"},
                 {"Edit5", r},    {"Edit6", l1}, {"Edit7", l2}};
}

} // namespace

class TestRoadWindow : public QObject {
    Q_OBJECT
private slots:
    void mainWindowWaitsWhileTheRoadWindowIsUp() {
        Program p;
        QVERIFY(p.road().isVisible());
        QVERIFY(!p.windows->Form1->isEnabled());
        QCOMPARE(p.road().windowTitle(), en("RoadWinName"));
        QCOMPARE(p.road().BtnCalculate->text(), en("calculate"));
        QCOMPARE(p.road().PageControl1->tabText(1), en("mainpile_data"));
        QCOMPARE(p.road().SGIntersection->model()->columnCount(), 17);
        QCOMPARE(p.road().SGPile->model()->headerData(1, Qt::Horizontal).toString(),
                 en("MiddlePile") + en("strgrid_N"));
        p.road().BtnExit->click();
        QVERIFY(!p.road().isVisible());
        QVERIFY(p.windows->Form1->isEnabled());
        QVERIFY(!p.windows->Form1->HelpShown());
    }

    // Each list's form through the seam: what is refused is named and the dialog stays open on
    // the box; what is taken goes into the list. (The forms' rules are tested without windows.)
    void entryFormsCheckTheirBoxes_data() {
        QTest::addColumn<int>("page");
        QTest::addColumn<QStringList>("boxes"); // name=text
        QTest::addColumn<bool>("accepted");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("focus");
        QTest::newRow("stake") << 3 << QStringList{"Edit1=120.5"} << true << QString() << QString();
        QTest::newRow("stake empty")
            << 3 << QStringList{"Edit1="} << false << en("input_empty") + en("Mileage") << "Edit1";
        QTest::newRow("grade slope missing")
            << 2 << QStringList{"Edit1=100", "Edit2=50", "Edit3=0", "Edit4=", "Edit5=1"} << false
            << en("input_empty") + en("Slope_i") + "1"
            << "Edit4";
        QTest::newRow("point radius abc")
            << 0 << QStringList{"Edit1=JD1", "Edit2=1", "Edit3=2", "Edit4=0",
                                "Edit5=abc", "Edit6=0", "Edit7=0"}
            << false << en("input_not_number") + en("Radius") << "Edit5";
        QTest::newRow("element start radius abc")
            << 1 << QStringList{"Edit2=x", "Edit3=0", "Edit4=100"} << false
            << en("input_not_number") + en("strgrid_Start") + en("Radius") << "Edit2";
    }
    void entryFormsCheckTheirBoxes() {
        QFETCH(int, page);
        QFETCH(QStringList, boxes);
        QFETCH(bool, accepted);
        QFETCH(QString, message);
        QFETCH(QString, focus);
        Program p;
        p.page(static_cast<RoadList>(page));
        Boxes typed;
        for (const QString& b : boxes)
            typed[b.section('=', 0, 0)] = b.section('=', 1);
        p.prompts.entryAnswers << typed;
        p.road().BtnAppendClick();
        QCOMPARE(p.road().Data.Count(static_cast<RoadList>(page)), accepted ? 1u : 0u);
        QCOMPARE(p.prompts.messages, message.isEmpty() ? QStringList{} : QStringList{message});
        QCOMPARE(p.prompts.entries.back().refusedBox, focus);
        const char* names[] = {"TFormIntersectionInport", "TFormMainPileInport",
                               "TFormlongSlopesInport", "TFormPileInport"};
        QCOMPARE(p.prompts.entries.back().name, QString(names[page]));
        // A new entry starts with empty boxes.
        p.prompts.entryAnswers << std::nullopt;
        p.road().BtnAppendClick();
        const ScriptedPrompts::Entry& again = p.prompts.entries.back();
        for (qsizetype i = 0; i < again.shown.size(); ++i)
            if (page != 1 || (i != 0 && i != 4)) // the element's two lists
                QVERIFY2(again.shown[i].isEmpty(), qPrintable(again.shown[i]));
    }

    // The element's real dialog: its lists in the language on show, the side following the kind.
    void elementDialogKindAndDirection() {
        Program p;
        p.page(RoadList::Elements);
        QStringList kinds, directions;
        int direction_after_straight = -1, direction_after_circle = -1;
        QString title;
        p.prompts.onEnter = [&](const EntryRequest& request) -> std::optional<QStringList> {
            EntryDialog d(request, {}, "OK", "Cancel", nullptr);
            title = d.windowTitle();
            auto* kind = d.findChild<QComboBox*>("ComboBox1");
            auto* side = d.findChild<QComboBox*>("ComboBox2");
            for (int i = 0; i < kind->count(); ++i)
                kinds << kind->itemText(i);
            for (int i = 0; i < side->count(); ++i)
                directions << side->itemText(i);
            kind->setCurrentIndex(1);
            direction_after_circle = side->currentIndex();
            kind->setCurrentIndex(0);
            direction_after_straight = side->currentIndex();
            return std::nullopt;
        };
        p.road().BtnAppendClick();
        QCOMPARE(title, en("dlg_title_element"));
        QCOMPARE(kinds, (QStringList{en("Line"), en("Circle"), en("Clothoid")}));
        QCOMPARE(directions, (QStringList{en("strgrid_Left"), en("strgrid_Right"), QString()}));
        QCOMPARE(direction_after_circle, 0);
        QCOMPARE(direction_after_straight, 2);
        QCOMPARE(p.road().Data.Count(RoadList::Elements), 0u); // cancelled
    }

    void editingCommandsOnTheTables() {
        Program p;
        TFormRoadCalculate& r = p.road();
        // Points, then an element: the question, cancelled, changes nothing.
        for (const char* name : {"JD0", "JD1", "JD2"}) {
            p.prompts.entryAnswers << point(name, "1", "2");
            r.BtnAppendClick();
        }
        QCOMPARE(r.Data.InputMode(), RoadList::Intersections);
        // Insert in front of the second row.
        r.SGIntersection->setCurrentIndex(r.SGIntersection->model()->index(1, 0));
        p.prompts.entryAnswers << point("NEW", "5", "6");
        r.BtnInsertClick();
        QCOMPARE(p.cell(r.SGIntersection, 1, 0), QString("NEW"));
        QCOMPARE(p.cell(r.SGIntersection, 2, 0), QString("JD1"));
        // Update shows the row's cells and changes that row only.
        r.SGIntersection->setCurrentIndex(r.SGIntersection->model()->index(2, 0));
        p.prompts.entryAnswers << Boxes{{"Edit1", "JD1B"}};
        r.BtnUpdateClick();
        QCOMPARE(p.prompts.entries.back().shown,
                 (QStringList{"JD1", "1", "2", "0", "0", "0", "0"}));
        QCOMPARE(p.cell(r.SGIntersection, 2, 0), QString("JD1B"));
        QCOMPARE(p.cell(r.SGIntersection, 3, 0), QString("JD2"));
        // Delete asks; cancel keeps the row.
        r.BtnDeleteClick();
        QCOMPARE(r.Data.Count(RoadList::Intersections), 4u);
        p.prompts.answers = {1};
        r.BtnDeleteClick();
        QCOMPARE(p.prompts.questions.back().title, en("if_delete_data_title"));
        QCOMPARE(r.Data.Count(RoadList::Intersections), 3u);

        p.page(RoadList::Elements);
        p.prompts.entryAnswers << Boxes{{"Edit2", "0"}, {"Edit3", "0"}, {"Edit4", "100"}};
        r.BtnAppendClick(); // the question comes first, and is cancelled
        QCOMPARE(p.prompts.questions.back().title, en("if_clear_intersection_title"));
        QCOMPARE(r.Data.Count(RoadList::Intersections), 3u);
        QCOMPARE(r.Data.Count(RoadList::Elements), 0u);
        p.prompts.answers = {1};
        r.BtnAppendClick(); // confirmed and entered: the points go
        QCOMPARE(r.Data.Count(RoadList::Intersections), 0u);
        QCOMPARE(r.SGIntersection->model()->rowCount(), 0);
        QCOMPARE(r.Data.InputMode(), RoadList::Elements);

        // Update of element 3 of 5 writes its kind letter in its row only.
        for (int i = 0; i < 4; ++i) {
            p.prompts.entryAnswers << Boxes{{"Edit2", "0"}, {"Edit3", "0"}, {"Edit4", "50"}};
            r.BtnAppendClick();
        }
        r.SGMainPile->setCurrentIndex(r.SGMainPile->model()->index(2, 0));
        p.prompts.entryAnswers << Boxes{{"Edit2", "300"},
                                        {"Edit3", "300"},
                                        {"Edit4", "80"},
                                        {"ComboBox1", "1"},
                                        {"ComboBox2", "1"}};
        r.BtnUpdateClick();
        for (int row = 0; row < 5; ++row)
            QCOMPARE(p.cell(r.SGMainPile, row, 0), row == 2 ? QString("A") : QString("L"));
        QCOMPARE(r.Data.PlaneElements()[2].Direction, std::string("R"));

        // Clear asks, empties everything; Calculate then has nothing.
        r.Edit1->setText("100");
        p.prompts.answers = {1};
        r.BtnClearClick();
        QCOMPARE(p.prompts.questions.back().title, en("if_clear_allroad_title"));
        QCOMPARE(r.Edit1->text(), QString());
        QCOMPARE(r.Data.InputMode(), std::nullopt);
        p.prompts.messages.clear();
        r.BtnCalculateClick();
        QCOMPARE(p.prompts.messages, QStringList{en("data_empty")});
    }

    void calculateFromTypedDataAndKeepItAcrossExit() {
        Program p;
        TFormRoadCalculate& r = p.road();
        for (const Boxes& s :
             {point("JD0", "3000", "500"), point("JD1", "3500", "690", "300", "40", "50"),
              point("JD2", "4000", "520")}) {
            p.prompts.entryAnswers << s;
            r.BtnAppendClick();
        }
        p.page(RoadList::Stakes);
        for (const char* k : {"1000", "1200", "1400", "99999"}) {
            p.prompts.entryAnswers << Boxes{{"Edit1", k}};
            r.BtnAppendClick();
        }
        r.Edit1->setText("1000");
        r.Edit5->setText("5");
        r.BtnCalculateClick();
        // The last stake lies beyond the road: said once, the others computed.
        QCOMPARE(p.prompts.messages, QStringList{en("road_stakes_out_of_range")});
        QCOMPARE(p.cell(r.SGPile, 3, 1), QString()); // no position, not 0,0
        QVERIFY(r.Data.PlaneElements().size() >= 3);
        QCOMPARE(r.Data.Stakes()[0].MiddleN, 3000.0);
        QVERIFY(r.Data.Stakes()[1].MiddleN > 3000.0);
        QVERIFY(r.Data.Stakes()[1].LeftN != 0.0);
        QCOMPARE(p.cell(r.SGIntersection, 1, 13),
                 QString::fromStdString(FormatCell(r.Data.IntersectionPoints()[1].ZH)));
        // A start chainage that is not a number is named, and nothing changes.
        p.prompts.messages.clear();
        r.Edit1->setText("abc");
        r.BtnCalculateClick();
        QCOMPARE(p.prompts.messages, QStringList{en("input_not_number") + en("Mileage")});
        r.Edit1->setText("1000");
        // Exit and come back: tables, boxes and mode as they were.
        r.BtnExitClick();
        p.windows->Form1->RoadCalcBtn->click();
        QCOMPARE(r.Edit5->text(), QString("5"));
        QCOMPARE(r.SGPile->model()->rowCount(), 4);
        QCOMPARE(r.Data.InputMode(), RoadList::Intersections);
        // Road data not saved: closing the program asks.
        r.BtnExitClick();
        p.prompts.answers = {2};
        p.windows->Form1->close();
        QCOMPARE(p.prompts.questions.back().title, en("if_discard_road_title"));
        QVERIFY(p.windows->Form1->isVisible());
    }

    void messagesNameWhatIsAtFaultAndFailuresClearTheResults() {
        // Texts with their places for the values, as the shipped language files have them.
        ShownProgram p([](TestFiles& f) {
            QStringList keys = all_window_keys();
            keys.removeIf([](const QString& k) { return k.endsWith("_FILTER"); });
            const std::map<QString, QString> patterns = {
                {"road_element_order", "element %s"},
                {"road_stakes_out_of_range", "%s out, first %s"},
                {"road_grade_order", "grade %s at %s"},
                {"road_saved", "Saved: %s"}};
            QString text = QStringLiteral("KEY\t中文\tEnglish\r\n");
            for (const QString& key : keys) {
                const auto it = patterns.find(key);
                text += key + "\t中文 " + key + "\t" +
                        (it == patterns.end() ? "EN " + key : it->second) + "\t|\r\n";
            }
            f.write_gbk(QStringLiteral("Language.cfg"), text);
        });
        p.windows->Form1->RoadCalcBtn->click();
        TFormRoadCalculate& r = *p.windows->FormRoadCalculate;
        auto cell = [&r](int row, int column) {
            return r.SGPile->model()->index(row, column).data().toString();
        };
        QCOMPARE(r.LabelAzimuthUnit->text(), en("azimuth_unit"));

        // Three straights: refused at the third, named by its row.
        auto element = [](std::int32_t type, double length, double radius, double n, double e) {
            PlaneInfo el;
            el.LineType = type;
            el.Length = length;
            el.StartRadius = el.EndRadius = radius;
            el.Direction = type == LineTypeCircle ? "R" : "";
            el.North = n;
            el.East = e;
            return el;
        };
        for (int k = 0; k < 3; ++k)
            r.Data.InsertElement(r.Data.Count(RoadList::Elements),
                                 element(LineTypeLine, 10, 0, 3000, 500));
        r.BtnCalculateClick();
        QCOMPARE(p.prompts.messages, QStringList{"element 3"});

        // A straight, an arc and a closing straight of 100 m; no offset.
        r.Data.ClearAll();
        r.Data.InsertElement(0, element(LineTypeLine, 100, 0, 3000, 500));
        r.Data.InsertElement(1, element(LineTypeCircle, 60, 200, 0, 0));
        r.Data.InsertElement(2, element(LineTypeLine, 100, 0, 0, 0));
        for (double K : {50.0, 99999.0, 250.0})
            r.Data.InsertStake(r.Data.Count(RoadList::Stakes), [K] {
                Pile s;
                s.Mileage = K;
                return s;
            }());
        r.Edit1->setText("0");
        p.prompts.messages.clear();
        r.BtnCalculateClick();
        QCOMPARE(p.prompts.messages, QStringList{"1 out, first 99999"});
        QVERIFY(!cell(0, 1).isEmpty());
        for (int column = 4; column < 10; ++column)
            QCOMPARE(cell(0, column), QString()); // no offset: no side points
        for (int column = 1; column < 10; ++column)
            QCOMPARE(cell(1, column), QString()); // outside the road
        QVERIFY(!cell(2, 1).isEmpty());           // on the closing straight
        QVERIFY(!r.PlanView->Picture().lines.empty());

        // A profile that goes backwards: said with its grade point, and no result stays.
        for (double K : {300.0, 100.0}) {
            LongSlopesInfo g;
            g.Mileage = K;
            r.Data.InsertGradePoint(r.Data.Count(RoadList::Profile), g);
        }
        p.prompts.messages.clear();
        r.BtnCalculateClick();
        QCOMPARE(p.prompts.messages, QStringList{"grade 2 at 100"});
        for (int row = 0; row < 3; ++row)
            QCOMPARE(cell(row, 1), QString());
        QVERIFY(r.PlanView->Picture().lines.empty());
        QVERIFY(r.ProfileView->Picture().lines.empty());

        // Save says so with the file's name.
        r.PageControl1->setCurrentIndex(PageIndex(RoadList::Stakes));
        p.prompts.messages.clear();
        p.prompts.fileAnswers << FileChoice{p.path("stakes"), 1};
        r.BtnSaveClick();
        QCOMPARE(p.prompts.messages,
                 QStringList{"Saved: " + QDir::toNativeSeparators(p.path("stakes.csv"))});
    }

    void loadAndSaveEveryPage_data() {
        QTest::addColumn<int>("page");
        QTest::addColumn<QString>("file");
        QTest::addColumn<int>("count");
        QTest::newRow("intersection points") << 0 << "road.PHI" << 4;
        QTest::newRow("line elements") << 1 << "road.SEC" << -1;
        QTest::newRow("profile") << 2 << "road.PVI" << -1;
        QTest::newRow("stakes") << 3 << "stakes.csv" << -1;
    }
    void loadAndSaveEveryPage() {
        QFETCH(int, page);
        QFETCH(QString, file);
        QFETCH(int, count);
        Program p;
        TFormRoadCalculate& r = p.road();
        const RoadList at = static_cast<RoadList>(page);
        p.page(at);
        const QString example = QStringLiteral(TELVANE_EXAMPLES) + "/" + file;
        p.prompts.fileAnswers << FileChoice{example, 1};
        r.BtnLoadClick();
        QVERIFY(p.prompts.messages.isEmpty());
        const std::size_t loaded = r.Data.Count(at);
        QVERIFY(loaded > 0);
        if (count > 0)
            QCOMPARE(static_cast<int>(loaded), count);
        if (page <= 1)
            QVERIFY(!r.Edit2->text().isEmpty()); // the start point from the file
        // Saved under a bare name: the page's extension is added; loaded again, the same list.
        p.prompts.fileAnswers << FileChoice{p.path("saved"), 1};
        r.BtnSaveClick();
        QCOMPARE(p.prompts.messages, QStringList{en("road_saved")});
        const QString saved = p.path("saved") + QLatin1String(DefaultExtension(at));
        QVERIFY(QFileInfo::exists(saved));
        QVERIFY(!r.HasUnsavedChanges());
        const RoadState before = r.Data.State();
        p.prompts.fileAnswers << FileChoice{saved, 1};
        r.BtnLoadClick();
        QCOMPARE(r.Data.Count(at), loaded);
        for (std::size_t k = 0; k < loaded; ++k) {
            switch (at) {
            case RoadList::Intersections:
                QCOMPARE(r.Data.IntersectionPoints()[k].North, before.IntersectionPoints[k].North);
                break;
            case RoadList::Elements:
                QCOMPARE(r.Data.PlaneElements()[k].Length, before.PlaneElements[k].Length);
                break;
            case RoadList::Profile:
                QCOMPARE(r.Data.GradePoints()[k].Height, before.GradePoints[k].Height);
                break;
            case RoadList::Stakes:
                QCOMPARE(r.Data.Stakes()[k].Mileage, before.Stakes[k].Mileage);
                break;
            }
        }
        // Overwrite asked; cancel writes nothing.
        p.prompts.fileAnswers << FileChoice{saved, 1};
        r.BtnSaveClick();
        QCOMPARE(p.prompts.questions.back().title, en("if_overwrite_title"));
    }

    void profileDesignedHereReachesTheInstrument() {
        Pty instrument;
        Program p;
        TFormRoadCalculate& r = p.road();
        p.page(RoadList::Profile);
        for (const Boxes& s : {Boxes{{"Edit1", "0"},
                                     {"Edit2", "100"},
                                     {"Edit3", "0"},
                                     {"Edit4", "0"},
                                     {"Edit5", "12"}},
                               Boxes{{"Edit1", "500"},
                                     {"Edit2", "106"},
                                     {"Edit3", "3000"},
                                     {"Edit4", "12"},
                                     {"Edit5", "-8.5"}}}) {
            p.prompts.entryAnswers << s;
            r.BtnAppendClick();
        }
        p.prompts.fileAnswers << FileChoice{p.path("profile"), 1};
        r.BtnSaveClick();
        r.BtnExitClick();
        TForm1& f = *p.windows->Form1;
        QVERIFY(f.OpenFile(p.path("profile.PVI")));
        QCOMPARE(f.data().Kind, DataKind::Road);
        QCOMPARE(f.data().Road, RoadList::Profile);
        f.ComComboBox7->SelectDevice(instrument.name());
        f.SendBtn->click();
        QCOMPARE(f.LinkMode(), 2);
        instrument.send("\r");
        QCOMPARE(instrument.next_line(), std::string("0 100 0 12 0 \r\n"));
        instrument.send("\r");
        QCOMPARE(instrument.next_line(), std::string("500 106 12 -8.5 3000 \r\n"));
        f.StopBtnClick();
    }

    void calculateFromLoadedFiles() {
        Program p;
        TFormRoadCalculate& r = p.road();
        const QString dir = QStringLiteral(TELVANE_EXAMPLES);
        const std::pair<RoadList, const char*> files[] = {{RoadList::Elements, "road.SEC"},
                                                          {RoadList::Profile, "road.PVI"},
                                                          {RoadList::Stakes, "stakes.csv"}};
        for (auto [page, name] : files) {
            p.page(page);
            p.prompts.fileAnswers << FileChoice{dir + "/" + name, 1};
            r.BtnLoadClick();
        }
        r.Edit5->setText("3.5");
        r.BtnCalculateClick();
        QVERIFY2(p.prompts.messages.isEmpty(), qPrintable(p.prompts.messages.join('|')));
        for (const Pile& s : r.Data.Stakes())
            QVERIFY(s.MiddleZ > 50); // the profile gave every stake its elevation
        QVERIFY(r.HasUnsavedChanges());
    }

    // A LandXML design with a station equation: stakes are loaded, typed, shown and saved as
    // the design's stations and placed at their chainages along the axis.
    void stakesOfADesignWithStationEquations() {
        Program p;
        TFormRoadCalculate& r = p.road();
        p.files.write(
            "eq.xml",
            "<?xml version=\"1.0\"?>\n"
            "<LandXML xmlns=\"http://www.landxml.org/schema/LandXML-1.2\" version=\"1.2\" "
            "date=\"2024-05-01\" time=\"10:00:00\">\n"
            "  <Units><Metric areaUnit=\"squareMeter\" linearUnit=\"meter\" "
            "volumeUnit=\"cubicMeter\" temperatureUnit=\"celsius\" pressureUnit=\"HPA\"/></Units>\n"
            "  <Alignments>\n"
            "    <Alignment name=\"A\" length=\"300\" staStart=\"0\">\n"
            "      <CoordGeom><Line><Start>0 0</Start><End>300 0</End></Line></CoordGeom>\n"
            "      <StaEquation staInternal=\"150\" staBack=\"150\" staAhead=\"1000\"/>\n"
            "    </Alignment>\n"
            "  </Alignments>\n"
            "</LandXML>\n");
        p.prompts.fileAnswers << FileChoice{p.path("eq.xml"), 1};
        r.BtnLoadLandXmlClick();
        QVERIFY2(p.prompts.messages.isEmpty(), qPrintable(p.prompts.messages.join('|')));
        p.files.write("s.csv", "K\r\n100\r\n1010\r\n500\r\n");
        p.page(RoadList::Stakes);
        p.prompts.fileAnswers << FileChoice{p.path("s.csv"), 1};
        r.BtnLoadClick();
        // Station 500 lies in the jump of the equation: named and left out.
        QCOMPARE(p.prompts.messages, QStringList{en("cli_landxml_station") + ": 500"});
        QCOMPARE(r.Data.Stakes().size(), std::size_t(2));
        QCOMPARE(r.Data.Stakes()[1].Mileage, 160.0);       // kept at its chainage along the axis
        QCOMPARE(p.cell(r.SGPile, 1, 0), QString("1010")); // shown as its station
        r.BtnCalculateClick();
        QCOMPARE(r.Data.Stakes()[1].MiddleN, 160.0);
        // Typed as a station too; one in the jump is refused.
        p.prompts.entryAnswers << Boxes{{"Edit1", "1100"}};
        r.BtnAppendClick();
        QCOMPARE(r.Data.Stakes().back().Mileage, 250.0);
        p.prompts.messages.clear();
        p.prompts.entryAnswers << Boxes{{"Edit1", "400"}};
        r.BtnAppendClick();
        QCOMPARE(p.prompts.messages, QStringList{en("cli_landxml_station") + ": 400"});
        QCOMPARE(r.Data.Stakes().size(), std::size_t(3));
        // Saved as stations.
        p.prompts.fileAnswers << FileChoice{p.path("out.csv"), 1};
        r.BtnSaveClick();
        const QByteArray saved = p.files.read("out.csv");
        QVERIFY(saved.contains("\r\n1010,"));
        QVERIFY(saved.contains("\r\n1100,"));
        QVERIFY(!saved.contains("\r\n160,"));
    }

    // The Check page: the points on show in the main window, the stakes moved by known amounts
    // along and across the axis, come back with those deviations, their verdicts and the
    // picture with its arrows; the report is saved; a check before a calculation says so.
    void checkThePointsOnShowAgainstTheDesign() {
        Program p;
        TFormRoadCalculate& r = p.road();
        r.PageControl1->setCurrentWidget(r.TabSheetCheck);
        QVERIFY(!r.BtnAppend->isEnabled()); // no list on the Check page
        r.BtnCheckShownClick();
        QCOMPARE(p.prompts.messages, QStringList{en("check_needs_calculation")});
        p.prompts.messages.clear();
        const QString dir = QStringLiteral(TELVANE_EXAMPLES);
        for (auto [page, name] :
             {std::pair{RoadList::Elements, "road.SEC"}, std::pair{RoadList::Profile, "road.PVI"},
              std::pair{RoadList::Stakes, "stakes.csv"}}) {
            p.page(page);
            p.prompts.fileAnswers << FileChoice{dir + "/" + name, 1};
            r.BtnLoadClick();
        }
        r.Edit5->setText("5");
        r.BtnCalculateClick();
        QVERIFY2(p.prompts.messages.isEmpty(), qPrintable(p.prompts.messages.join('|')));
        // Centre stakes measured 1 cm off across the axis, and one left stake spot on.
        DataState& shown = EditDocumentData(EditDocument(*p.windows->Form1));
        shown.Kind = DataKind::Points;
        shown.CoordList.clear();
        const std::vector<Pile>& stakes = r.Data.Stakes();
        for (const Pile& s : stakes) {
            const double dn = s.RightN - s.MiddleN, de = s.RightE - s.MiddleE; // 5 m to the right
            shown.CoordList.push_back(coord_item{road::format_stake_name(s.Mileage), "C",
                                                 s.MiddleN + dn / 500, s.MiddleE + de / 500,
                                                 s.MiddleZ});
        }
        shown.CoordList.push_back(
            coord_item{road::format_stake_name(stakes[1].Mileage, road::StakeSide::Left), "L",
                       stakes[1].LeftN, stakes[1].LeftE, stakes[1].LeftZ});
        r.EditTolerancePlan->setValue(0.005);
        r.BtnCheckShownClick();
        const auto& checks = r.Checks();
        QCOMPARE(checks.size(), stakes.size() + 1);
        for (std::size_t k = 0; k < stakes.size(); ++k) {
            QVERIFY(checks[k].Stake);
            QVERIFY(std::fabs(*checks[k].Across - 0.01) < 1e-6);
            QVERIFY(std::fabs(*checks[k].Along) < 1e-6);
            QCOMPARE(checks[k].Result, road::check::Verdict::Exceeded); // 1 cm > 5 mm
        }
        QVERIFY(std::fabs(*checks.back().Distance) < 1e-6);
        QCOMPARE(checks.back().Result, road::check::Verdict::Within);
        QCOMPARE(r.SGCheck->model()->rowCount(), static_cast<int>(checks.size()));
        QCOMPARE(r.SGCheck->model()->index(0, 12).data().toString(), en("check_exceeded"));
        QVERIFY(r.SGCheck->model()->index(0, 12).data(Qt::BackgroundRole).isValid());
        // The plan with the arrows and the factor written on it.
        QCOMPARE(r.PlanView->Picture().notes.size(), std::size_t(1));
        // The tolerance chosen is kept for the next start.
        QVERIFY(p.files.read_ini().contains("TolerancePlan=0.005"));
        // The report.
        p.prompts.fileAnswers << FileChoice{p.path("report"), 1};
        r.BtnCheckSaveClick();
        const QByteArray report = p.files.read("report.csv");
        QCOMPARE(report.count("\r\n"), static_cast<qsizetype>(checks.size() + 1));
        QVERIFY(
            report.startsWith(QByteArray("\"EN check_col_name\","))); // quoted: it holds a blank
    }
};

QTEST_MAIN(TestRoadWindow)
#include "tst_roadwindow.moc"
