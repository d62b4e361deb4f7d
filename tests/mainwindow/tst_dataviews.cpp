// The main window's data: views per kind, the Points and Codes commands, the editing page,
// Open and Save through the scripted seam, copy and paste, and the unsaved-data question.
#include "lebytes.h"
#include "settings/form_setting.h"
#include "shown_program.h"

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QDragEnterEvent>
#include <QHeaderView>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QStackedWidget>
#include <QTableView>
#include <QTest>

#include <memory>

using namespace telvane;

namespace {

// The type lists come from FileType.cfg, with the positions of the shipped one.
struct Window : ShownProgram {
    std::unique_ptr<QAbstractItemModelTester> tester;

    explicit Window(const QByteArray& ini = {})
        : ShownProgram([&ini](TestFiles& f) {
              f.write_gbk("FileType.cfg",
                          "[OPEN_FILTER]\n中文=All|*\nEnglish=All|*\n"
                          "[SAVE_JOB_FILTER]\nEnglish=R|*.csv|R2|*.txt|P|*.csv|D|*.dxf|G5|*.gt7|"
                          "G6|*.gt7|G7|*.gt7|P2|*.csv|J|*.txt\n"
                          "[SAVE_COORD_FILTER]\nEnglish=P|*.csv|D|*.dxf|P|*.txt|P|*.dat|P2|*.csv\n"
                          "[SAVE_CODE_FILTER]\nEnglish=C|*.txt\n");
              if (!ini.isEmpty())
                  f.write_ini(ini);
          }) {
        tester = std::make_unique<QAbstractItemModelTester>(
            form().StrGridModel, QAbstractItemModelTester::FailureReportingMode::QtTest);
    }
    TForm1& form() { return *windows->Form1; }
    bool open(const QString& name, const QByteArray& bytes) {
        files.write(name, bytes);
        return form().OpenFile(path(name));
    }
    QString cell(int row, int column) {
        return form().StrGridModel->index(row, column).data().toString();
    }
    void type(int row, int column, const QString& text) {
        form().StrGridModel->setData(form().StrGridModel->index(row, column), text);
    }
};

const QByteArray kJob = "JOB     DAY1\r\nINST    TS\r\nSTA     S1,1.5000,CP\r\n"
                        "XYZ     100.0000,200.0000,10.0000\r\nNOTE    P1:TREE:x\r\n"
                        "SC      P1,1.3000,\r\nENZ     5.0000,6.0000,7.0000\r\n"
                        "SD      D1,1.3000,W\r\nHVD     3600,324000,50.0000\r\n";

} // namespace

class TestDataViews : public QObject {
    Q_OBJECT
private slots:
    void tableColumnsPerKindAndOrder_data() {
        QTest::addColumn<DataKind>("kind");
        QTest::addColumn<RoadList>("road"); // for road data
        QTest::addColumn<int>("order");
        QTest::addColumn<QStringList>("headers");
        QTest::addColumn<QList<int>>("widths");
        QTest::addColumn<QStringList>("row");
        const QStringList pts{en("strgrid_num"), en("strgrid_ptno"), en("strgrid_N"),
                              en("strgrid_E"),   en("strgrid_Z"),    en("strgrid_code")};
        QStringList swapped = pts;
        swapped.swapItemsAt(2, 3);
        QTest::newRow("points north first")
            << DataKind::Points << RoadList() << 0 << pts << QList<int>{50, 100, 100, 100, 100, 70}
            << QStringList{"#1", "P1", "1.0000", "2.0000", "3.0000", "C"};
        QTest::newRow("points east first")
            << DataKind::Points << RoadList() << 1 << swapped
            << QList<int>{50, 100, 100, 100, 100, 70}
            << QStringList{"#1", "P1", "2.0000", "1.0000", "3.0000", "C"};
        QTest::newRow("codes") << DataKind::Codes << RoadList() << 0
                               << QStringList{en("strgrid_num"), en("strgrid_code")}
                               << QList<int>{85, 85} << QStringList{"#1", "C"};
        QTest::newRow("points with further values")
            << DataKind::Points3 << RoadList() << 0
            << QStringList{en("strgrid_num"), en("strgrid_ptno"), en("strgrid_N"),
                           en("strgrid_E"),   en("strgrid_Z"),    en("strgrid_DH"),
                           en("strgrid_DO"),  en("strgrid_DV"),   en("strgrid_code")}
            << QList<int>{50, 85, 85, 85, 85, 85, 85, 85, 60}
            << QStringList{"#1",     "P1",     "1.0000", "2.0000", "3.0000",
                           "4.0000", "5.0000", "6.0000", "C"};
        QTest::newRow("main piles")
            << DataKind::Road << RoadList::Elements << 1
            << QStringList{"#1",
                           en("LineType"),
                           en("strgrid_Start") + en("Radius"),
                           en("strgrid_End") + en("Radius"),
                           en("strgrid_Length"),
                           en("Direction"),
                           en("strgrid_N"),
                           en("strgrid_E"),
                           en("Mileage"),
                           en("AzimuthAngle")}
            << QList<int>{50, 50, 80, 80, 100, 50, 110, 110, 110, 110}
            << QStringList{"#1", "a", "b", "c", "d", "e", "f", "g", "h", ""};
        QTest::newRow("slopes") << DataKind::Road << RoadList::Profile << 0
                                << QStringList{"#1",
                                               en("Mileage"),
                                               en("Height"),
                                               en("Slope_i") + "1",
                                               en("Slope_i") + "2",
                                               en("Radius")}
                                << QList<int>{50, 120, 120, 120, 120, 100}
                                << QStringList{"#1", "a", "b", "c", "d", "e"};
    }
    void tableColumnsPerKindAndOrder() {
        QFETCH(DataKind, kind);
        QFETCH(RoadList, road);
        QFETCH(int, order);
        QFETCH(QStringList, headers);
        QFETCH(QList<int>, widths);
        QFETCH(QStringList, row);
        Window w("[Setting]\nCoordOrder=" + QByteArray::number(order) + "\n");
        TForm1& f = w.form();
        f.leave_help();
        DataState& data = EditDocumentData(EditDocument(f));
        data.Kind = kind;
        data.Road = road;
        data.CoordList = {{"P1", "C", 1, 2, 3}};
        data.CodeList = {{"C"}};
        data.Coord3List = {{"P1", "C", 1, 2, 3, 4, 5, 6}};
        data.RoadRows = {{"a", "b", "c", "d", "e", "f", "g", "h"}};
        f.InitDataShowView();
        QCOMPARE(w.cell(0, 0), kind == DataKind::Road ? QString("1") : QString("#1")); // empty
        f.RefleshDataShowView();
        QVERIFY(f.StrGrid->isVisible());
        QVERIFY(!f.MeasText->isVisible());
        QCOMPARE(f.SendBtn->isEnabled(), kind != DataKind::Points3);
        QCOMPARE(f.StatusPanel(1), en("total") + "1");
        QStringList shown_headers, cells;
        QList<int> shown_widths;
        for (int c = 0; c < f.StrGridModel->columnCount(); ++c) {
            shown_headers << f.StrGridModel->headerData(c, Qt::Horizontal).toString();
            shown_widths << f.StrGrid->columnWidth(c);
            cells << w.cell(0, c);
        }
        QCOMPARE(shown_headers, headers);
        QCOMPARE(shown_widths, widths);
        QCOMPARE(cells, row);
        QCOMPARE(f.StrGrid->verticalHeader()->defaultSectionSize(), 20);
        const auto align = [&](int c) {
            return f.StrGridModel->index(0, c).data(Qt::TextAlignmentRole).toInt() &
                   Qt::AlignHorizontal_Mask;
        };
        QCOMPARE(align(1), int(Qt::AlignRight));
        QCOMPARE(align(0), kind == DataKind::Road ? int(Qt::AlignRight) : int(Qt::AlignHCenter));
    }

    void openEveryKindThroughTheWindow_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("kind"); // as reported: 0 none, 1 a job, ... 8 stakes
        QTest::addColumn<int>("rows");
        QTest::addColumn<QStringList>("messages");
        telvane::testing::Record sc(48);
        sc.i8(0, 8).text(1, "P1").f64(24, 1).f64(32, 2).f64(40, 3);
        telvane::testing::Record pt(40);
        pt.text(0, "K").f64(16, 1);
        const QByteArray binary_job = QByteArray("\x01", 1) + QByteArray::fromStdString(sc.bytes());
        QTest::newRow("job text") << "day1.txt" << kJob << 1 << 4 << QStringList{};
        QTest::newRow("binary job") << "day1.mea" << binary_job << 1 << 1 << QStringList{"BINARY"};
        QTest::newRow("binary points") << "known.ptf" << QByteArray::fromStdString(pt.bytes()) << 2
                                       << 1 << QStringList{"BINARY"};
        QTest::newRow("point rows")
            << "p.csv" << QByteArray("A,C,1,2,3\r\nB,C,4,5,6\r\n") << 2 << 2 << QStringList{};
        QTest::newRow("further values")
            << "p3.csv" << QByteArray("A,1,2,3,4,5,6,C\r\n") << 4 << 1 << QStringList{};
        QTest::newRow("codes") << "codes.txt" << QByteArray("TREE\r\nWALL\r\nPOLE\r\n") << 3 << 3
                               << QStringList{};
        QTest::newRow("intersection points")
            << "r.PHI" << QByteArray("h\r\nJD,1,2,3,4,5,6\r\n") << 5 << 1 << QStringList{};
        QTest::newRow("main piles")
            << "r.sec"
            << QByteArray("\xD6\xD0\r\n1,2,3\r\n\xD6\xD0\r\n1,2,3,4,5\r\n1,2,3,4,5,6,7\r\n") << 6
            << 2 << QStringList{};
        QTest::newRow("slopes") << "r.PVI" << QByteArray("h\r\n0,100,0,0,0\r\n") << 7 << 1
                                << QStringList{};
        QTest::newRow("piles") << "stakes.txt" << QByteArray("h\r\n10\r\n20\r\n") << 8 << 2
                               << QStringList{};
        // A file that gives nothing leaves the data on show (here the help) as it was.
        QTest::newRow("nothing recognised") << "x.txt" << QByteArray("a b,c\r\n1 2\r\n") << 0 << 0
                                            << QStringList{en("wrong_format")};
        QTest::newRow("blank") << "blank.txt" << QByteArray("  \r\n") << 0 << 0
                               << QStringList{en("open_empty_file")};
        QTest::newRow("empty file")
            << "empty.txt" << QByteArray() << 0 << 0 << QStringList{en("file_is_empty")};
    }
    void openEveryKindThroughTheWindow() {
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        QFETCH(int, kind);
        QFETCH(int, rows);
        QFETCH(QStringList, messages);
        Window w;
        TForm1& f = w.form();
        w.prompts.fileAnswers << FileChoice{w.path(name), 1};
        w.files.write(name, bytes);
        f.OpenBtn->click();
        QCOMPARE(w.prompts.fileTypeLists, QStringList{"All|*"});
        QCOMPARE(w.prompts.messages, messages);
        if (kind == 0) { // not read: nothing changed, the help still on show
            QVERIFY(f.HelpShown());
            QCOMPARE(f.MeasText->toPlainText(), QString("Help\n"));
            return;
        }
        QVERIFY(!f.HelpShown());
        QCOMPARE(data_kind_number(f.data()), kind);
        QCOMPARE(f.MeasText->isVisible(), kind == 1);
        if (kind == 1)
            QCOMPARE(static_cast<int>(f.data().RecordList.size()), rows);
        else
            QCOMPARE(f.StrGridModel->rowCount(), rows);
    }

    void jobTextViewWithTheNoteRuleAndUnits() {
        Window w("[Setting]\nAngleUnit=1\nLengthUnit=2\n");
        TForm1& f = w.form();
        QVERIFY(w.open("day1.txt", kJob));
        QCOMPARE(f.MeasText->toPlainText(),
                 QString("JOB     DAY1\nINST    TS\nSTA     S1,4.9213,CP\n"
                         "XYZ     328.0840,656.1680,32.8084\nNOTE    P1:TREE:x\n"
                         "SC      P1,4.2651,TREE\nENZ     16.4042,19.6850,22.9659\n"
                         "SC      D1,4.2651,W\nHVD     1.1111,100.0000,164.0420"));
        QCOMPARE(f.StatusPanel(1), en("total") + "4");
        QVERIFY(f.MeasText->isReadOnly());
        // Copied, the view gives its lines with plain line ends.
        f.MeasText->selectAll();
        f.CopySelection();
        QCOMPARE(QGuiApplication::clipboard()->text(), f.MeasText->toPlainText());
        QCOMPARE(QGuiApplication::clipboard()->text().count('\n'), 8);
        QVERIFY(!f.SendBtn->isEnabled());
    }

    void pointsCommand_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QList<int>>("answers");
        QTest::addColumn<DataKind>("kind");
        QTest::addColumn<int>("page");
        QTest::addColumn<int>("points");
        QTest::addColumn<QStringList>("messages");
        QTest::newRow("job to points")
            << kJob << QList<int>{1} << DataKind::Points << 0 << 2 << QStringList{};
        QTest::newRow("job kept on cancel")
            << kJob << QList<int>{2} << DataKind::Records << 0 << 0 << QStringList{};
        QTest::newRow("job without coordinates")
            << QByteArray("JOB     J\r\nINST    I\r\nSD      D1,1,\r\nHVD     0,0,1\r\n")
            << QList<int>{1} << DataKind::Records << 0 << 0 << QStringList{en("job_have_no_coord")};
        QTest::newRow("points are edited") << QByteArray("A,C,1,2,3\r\n") << QList<int>{}
                                           << DataKind::Points << 1 << 1 << QStringList{};
        QTest::newRow("codes replaced after asking") << QByteArray("TREE\r\n") << QList<int>{1}
                                                     << DataKind::Points << 1 << 0 << QStringList{};
        QTest::newRow("codes kept on cancel") << QByteArray("TREE\r\n") << QList<int>{2}
                                              << DataKind::Codes << 0 << 0 << QStringList{};
        QTest::newRow("help: a new table")
            << QByteArray() << QList<int>{} << DataKind::Points << 1 << 0 << QStringList{};
    }
    void pointsCommand() {
        QFETCH(QByteArray, file);
        QFETCH(QList<int>, answers);
        QFETCH(DataKind, kind);
        QFETCH(int, page);
        QFETCH(int, points);
        QFETCH(QStringList, messages);
        Window w;
        TForm1& f = w.form();
        if (!file.isEmpty())
            QVERIFY(w.open("in.txt", file));
        w.prompts.answers = answers;
        f.CoordBtn->click();
        QCOMPARE(w.prompts.unanswered, 0);
        QCOMPARE(w.prompts.messages, messages);
        QCOMPARE(f.data().Kind, kind);
        QCOMPARE(f.PageControl1->currentIndex(), page);
        QCOMPARE(static_cast<int>(f.data().CoordList.size()), points);
        QCOMPARE(f.StrGrid->editTriggers() != QAbstractItemView::NoEditTriggers, page == 1);
        if (kind == DataKind::Points && page == 0)
            QCOMPARE(w.cell(1, 1), QString("P1")); // the station first, then the point
    }

    void codesCommandKeepsCodesAndAsksBeforeDiscardingPoints() {
        Window w;
        TForm1& f = w.form();
        QVERIFY(w.open("c.txt", "TREE\r\nWALL\r\n"));
        f.CodeBtn->click();
        QVERIFY(w.prompts.questions.isEmpty());
        QCOMPARE(f.PageControl1->currentIndex(), 1);
        QCOMPARE(w.cell(1, 1), QString("WALL"));
        w.type(1, 1, "");
        w.type(0, 1, "POLE");
        f.OKBtn->click();
        QCOMPARE(f.data().CodeList.size(), std::size_t(1));
        QCOMPARE(w.cell(0, 1), QString("POLE"));

        QVERIFY(w.open("p.csv", "A,C,1,2,3\r\n"));
        w.prompts.answers = {2};
        f.CodeBtn->click();
        QCOMPARE(f.data().Kind, DataKind::Points);
        w.prompts.answers = {1};
        f.CodeBtn->click();
        QCOMPARE(f.data().Kind, DataKind::Codes);
        QVERIFY(f.data().CoordList.empty());
    }

    void editingPageRoundTrip() {
        Window w;
        TForm1& f = w.form();
        f.CoordBtn->click(); // from the help: an empty table
        QCOMPARE(f.StrGridModel->rowCount(), 1);
        const QStringList first{"P1", "1.5", "-2", ".5", "C"};
        for (int c = 0; c < 5; ++c)
            w.type(0, c + 1, first[c]);
        f.AppendBtn->click();
        f.AppendBtn->click();
        QCOMPARE(f.StrGridModel->rowCount(), 3);
        QCOMPARE(w.cell(2, 0), QString("#3"));
        QCOMPARE(f.StatusPanel(1), en("total") + "3");
        w.type(2, 1, "P3");
        w.type(2, 2, "7");
        // A name with an empty coordinate is reported at that cell, never stored as 0.
        f.OKBtn->click();
        QCOMPARE(w.prompts.messages.back(), en("coord_cell_empty") + "\n" + en("at_cell"));
        QCOMPARE(f.PageControl1->currentIndex(), 1);
        QCOMPARE(f.StrGrid->currentIndex(), f.StrGridModel->index(2, 3));
        w.type(2, 3, "8");
        w.type(2, 4, "9");
        // Insert above row 1.
        f.StrGrid->setCurrentIndex(f.StrGridModel->index(0, 1));
        f.InsertBtn->click();
        QCOMPARE(f.StrGridModel->rowCount(), 4);
        QCOMPARE(w.cell(0, 1), QString());
        QCOMPARE(w.cell(1, 1), QString("P1"));
        for (int r = 0; r < 4; ++r)
            QCOMPARE(w.cell(r, 0), QString("#%1").arg(r + 1));
        // Delete asks; No keeps the row.
        f.StrGrid->setCurrentIndex(f.StrGridModel->index(2, 1));
        f.DelBtn->click();
        QCOMPARE(f.StrGridModel->rowCount(), 4);
        w.prompts.yesNoAnswers = {true};
        f.DelBtn->click();
        QCOMPARE(w.prompts.questions.back().title, en("delete"));
        QCOMPARE(w.prompts.questions.back().text, en("if_delete_file"));
        QCOMPARE(f.StrGridModel->rowCount(), 3);
        QCOMPARE(w.cell(2, 1), QString("P3"));
        f.OKBtn->click();
        QCOMPARE(f.PageControl1->currentIndex(), 0);
        QCOMPARE(f.data().CoordList.size(), std::size_t(2));
        QCOMPARE(f.data().CoordList[0].north, 1.5);
        QCOMPARE(f.data().CoordList[0].east, -2.0);
        QCOMPARE(f.data().CoordList[0].elev, 0.5);
        QCOMPARE(w.cell(1, 2), QString("7.0000"));
        QVERIFY(f.Doc().unsaved());

        // A row with numbers and no name keeps the editing page, its name cell selected.
        f.CoordBtn->click();
        f.AppendBtn->click();
        w.type(2, 3, "4");
        f.OKBtn->click();
        QCOMPARE(w.prompts.messages.back(), en("point_without_name") + "\n" + en("at_cell"));
        QCOMPARE(f.PageControl1->currentIndex(), 1);
        QCOMPARE(f.StrGrid->currentIndex(), f.StrGridModel->index(2, 1));
        // Deleting every row leaves one empty row, and returning then empties the list.
        w.prompts.yesNoAnswers = {true, true, true};
        for (int i = 0; i < 3; ++i)
            f.DelBtn->click();
        QCOMPARE(f.StrGridModel->rowCount(), 1);
        QCOMPARE(w.cell(0, 0), QString());
        f.OKBtn->click();
        QVERIFY(f.data().CoordList.empty());
    }

    void typingCheck_data() {
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("stands");
        QTest::addColumn<QStringList>("messages");
        // A refused key is taken back: what was typed before it stands.
        QTest::newRow("fits") << 2 << "12345678.123"
                              << "12345678.123" << QStringList{};
        QTest::newRow("too big") << 2 << "123456789"
                                 << "12345678" << QStringList{en("oversize_or_undersize")};
        QTest::newRow("14 characters") << 3 << "-1234567.12345"
                                       << "-1234567.12345" << QStringList{};
        QTest::newRow("15 characters") << 3 << "-1234567.123456"
                                       << "-1234567.12345" << QStringList{en("too_many_data")};
        QTest::newRow("minus then five") << 4 << "-5"
                                         << "-5" << QStringList{};
        QTest::newRow("point five") << 4 << ".5"
                                    << ".5" << QStringList{};
        QTest::newRow("letters") << 4 << "1a"
                                 << "1" << QStringList{en("illegal_data_type")};
        QTest::newRow("long name") << 1 << "ABCDEFGHI"
                                   << "ABCDEFGH" << QStringList{en("too_many_cha")};
        QTest::newRow("chinese name of 8 bytes") << 1 << "中文中文"
                                                 << "中文中文" << QStringList{};
        QTest::newRow("chinese name of 10 bytes") << 5 << "中文中文中"
                                                  << "中文中文" << QStringList{en("too_many_cha")};
        QTest::newRow("emoji") << 5 << "A😀"
                               << "A" << QStringList{en("char_not_in_codepage")};
    }
    void typingCheck() {
        QFETCH(int, column);
        QFETCH(QString, typed);
        QFETCH(QString, stands);
        QFETCH(QStringList, messages);
        Window w;
        TForm1& f = w.form();
        f.CoordBtn->click();
        const QModelIndex at = f.StrGridModel->index(0, column);
        f.StrGrid->setCurrentIndex(at);
        f.StrGrid->edit(at);
        auto* editor = f.StrGrid->findChild<QLineEdit*>();
        QVERIFY(editor);
        // Every keystroke is checked; a character from beyond the keyboard's ASCII comes as the
        // text of one key event, as an input method sends it.
        for (char32_t c : typed.toUcs4())
            QTest::sendKeyEvent(QTest::Click, editor, Qt::Key_unknown, QString::fromUcs4(&c, 1),
                                Qt::NoModifier);
        QTest::keyClick(editor, Qt::Key_Return);
        QApplication::processEvents(); // the view commits the edit from its event queue
        QCOMPARE(w.prompts.messages, messages);
        QCOMPARE(w.cell(0, column), stands);
        QVERIFY(f.Doc().grid_modified());
        // A lone "-" passes while typing and is refused when committed: the cell keeps its
        // value.
        w.prompts.messages.clear();
        w.type(0, 2, "5");
        w.type(0, 2, "-");
        QApplication::processEvents(); // the message comes once the commit is over
        QCOMPARE(w.prompts.messages, QStringList{en("illegal_data_type")});
        QCOMPARE(w.cell(0, 2), QString("5"));
    }

    void saveEveryTypeReadBack_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<int>("position");
        QTest::addColumn<QString>("name");
        // The kind of the file read back, as reported (1 a job, 2 points, 3 codes); 0: compare
        // bytes only; -1: nothing written.
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("count");
        QTest::addColumn<QStringList>("messages");
        const QByteArray pts("A,C,1,2,3\r\nB,,4,5,6\r\n");
        QTest::newRow("job as record rows") << kJob << 1 << "rows" << 0 << 0 << QStringList{};
        QTest::newRow("job as record rows, txt") << kJob << 2 << "rows" << 0 << 0 << QStringList{};
        QTest::newRow("job as reduced gts-7") << kJob << 5 << "out" << 0 << 0 << QStringList{};
        QTest::newRow("job as gts-7 with distances")
            << kJob << 6 << "out" << 0 << 0 << QStringList{};
        QTest::newRow("job as points") << kJob << 3 << "pts" << 2 << 2 << QStringList{};
        QTest::newRow("job as dxf") << kJob << 4 << "pts" << 2 << 2 << QStringList{};
        QTest::newRow("job as gts-7") << kJob << 7 << "out" << 0 << 0 << QStringList{};
        QTest::newRow("gts-7 needs .gt7")
            << kJob << 7 << "out.txt" << -1 << 0 << QStringList{en("gts7_name_not_gt7")};
        QTest::newRow("job as points, code last") << kJob << 8 << "pts" << 2 << 2 << QStringList{};
        QTest::newRow("job as job text") << kJob << 9 << "job" << 1 << 4 << QStringList{};
        QTest::newRow("points as rows") << pts << 1 << "p" << 2 << 2 << QStringList{};
        QTest::newRow("points as dxf") << pts << 2 << "p" << 2 << 2 << QStringList{};
        QTest::newRow("points as rows, txt") << pts << 3 << "p" << 2 << 2 << QStringList{};
        QTest::newRow("points as rows, dat") << pts << 4 << "p" << 2 << 2 << QStringList{};
        QTest::newRow("points, code last") << pts << 5 << "p" << 2 << 2 << QStringList{};
        QTest::newRow("codes") << QByteArray("TREE\r\nWALL\r\n") << 1 << "c" << 3 << 2
                               << QStringList{};
    }
    void saveEveryTypeReadBack() {
        QFETCH(QByteArray, file);
        QFETCH(int, position);
        QFETCH(QString, name);
        QFETCH(int, kind);
        QFETCH(int, count);
        QFETCH(QStringList, messages);
        Window w;
        TForm1& f = w.form();
        QVERIFY(w.open("in.txt", file));
        const DataKind shown = f.data().Kind;
        w.prompts.fileAnswers << FileChoice{w.path(name), position};
        f.SaveBtn->click();
        QCOMPARE(w.prompts.messages, messages);
        const char* key = shown == DataKind::Records  ? "SAVE_JOB_FILTER"
                          : shown == DataKind::Points ? "SAVE_COORD_FILTER"
                                                      : "SAVE_CODE_FILTER";
        QCOMPARE(w.prompts.fileTypeLists.back(), f.texts().filter(key));
        QDir dir(w.files.dir());
        const QStringList written =
            dir.entryList({name + "*"}, QDir::Files).filter(QRegularExpression("^" + name));
        if (kind < 0) {
            QVERIFY(!QFileInfo::exists(w.path(name)));
            return;
        }
        QCOMPARE(written.size(), 1); // the type's extension was added to the bare name
        QVERIFY(written.front().contains('.'));
        QVERIFY(!f.Doc().unsaved());
        if (kind == 0)
            return;
        QVERIFY(f.OpenFile(w.path(written.front())));
        QCOMPARE(data_kind_number(f.data()), kind);
        const std::size_t n = kind == 1   ? f.data().RecordList.size()
                              : kind == 2 ? f.data().CoordList.size()
                                          : f.data().CodeList.size();
        QCOMPARE(static_cast<int>(n), count);
        if (kind == 2)
            QCOMPARE(QString::fromStdString(f.data().CoordList.back().name.str()),
                     shown == DataKind::Records ? QString("P1") : QString("B"));
    }

    void saveQuestionsAndFailures() {
        Window w;
        TForm1& f = w.form();
        // The help on show: its text, as text only.
        w.prompts.fileAnswers << FileChoice{w.path("help"), 1};
        f.SaveBtn->click();
        QCOMPARE(w.prompts.fileTypeLists.back(), QString("*.txt|*.txt"));
        QCOMPARE(w.files.read("help.txt"), QByteArray("Help\r\n\r\n"));

        QVERIFY(w.open("p.csv", "A,C,1,2,3\r\n"));
        w.files.write("old.csv", "keep");
        // Overwrite cancelled: nothing written.
        w.prompts.fileAnswers << FileChoice{w.path("old.csv"), 1};
        f.SaveBtn->click();
        QCOMPARE(w.prompts.questions.back().title, en("if_overwrite_title"));
        QCOMPARE(w.files.read("old.csv"), QByteArray("keep"));
        // A save that fails says so with the name and keeps what was there.
        QDir(w.files.dir()).mkdir("taken.csv");
        w.files.write("taken.csv/inside", "x");
        w.prompts.answers = {1};
        w.prompts.fileAnswers << FileChoice{w.path("taken.csv"), 1};
        f.SaveBtn->click();
        QVERIFY(w.prompts.messages.back().startsWith(en("file_save_failed")));
        QVERIFY(w.prompts.messages.back().contains("taken.csv"));
        QCOMPARE(w.files.read("taken.csv/inside"), QByteArray("x"));
        // Nothing to save.
        EditDocumentData(EditDocument(f)).CoordList.clear();
        f.SaveBtn->click();
        QCOMPARE(w.prompts.messages.back(), en("no_data_to_save"));
    }

    void unsavedDataIsNotClosedAwayWithoutAsking() {
        Window w;
        TForm1& f = w.form();
        QVERIFY(w.open("day1.txt", kJob));
        w.prompts.answers = {1};
        f.CoordBtn->click(); // converted: unsaved
        w.prompts.answers = {2};
        f.close();
        QCOMPARE(w.prompts.questions.back().title, en("if_discard_unsaved_title"));
        QVERIFY(f.isVisible());
        w.prompts.answers = {1};
        f.close();
        QVERIFY(!f.isVisible());

        Window opened; // opened and not changed: closes at once
        QVERIFY(opened.open("day1.txt", kJob));
        opened.form().close();
        QVERIFY(opened.prompts.questions.isEmpty());
        QVERIFY(!opened.form().isVisible());
    }

    void droppedFileOpens() {
        Window w;
        TForm1& f = w.form();
        w.files.write("drop.csv", "A,C,1,2,3\r\n");
        QMimeData mime;
        mime.setUrls({QUrl::fromLocalFile(w.path("drop.csv"))});
        QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &mime, Qt::LeftButton,
                              Qt::NoModifier);
        enter.setAccepted(false);
        QApplication::sendEvent(&f, &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&f, &drop);
        QCOMPARE(f.data().Kind, DataKind::Points);
        QCOMPARE(f.data().CoordList.size(), std::size_t(1));
        // Not while the editing page is up.
        f.CoordBtn->click();
        QDragEnterEvent again(QPoint(10, 10), Qt::CopyAction, &mime, Qt::LeftButton,
                              Qt::NoModifier);
        again.setAccepted(false);
        QApplication::sendEvent(&f, &again);
        QVERIFY(!again.isAccepted());
    }

    void copyAndPaste() {
        Window w;
        TForm1& f = w.form();
        f.CoordBtn->click();
        f.PasteCells("P1\t1\t2\t3\tC\nP2\tx\t5\t6\tD\nP3,7,8,9,TOO-LONG-CODE\n");
        QCOMPARE(f.StrGridModel->rowCount(), 3);
        QCOMPARE(w.prompts.messages, QStringList{en("paste_cells_refused") + "2"});
        QCOMPARE(w.cell(1, 2), QString());
        QCOMPARE(w.cell(2, 4), QString("9"));
        QCOMPARE(w.cell(2, 5), QString());
        // The cell the refused paste left empty is reported, never stored as 0.
        f.OKBtn->click();
        QCOMPARE(w.prompts.messages.back(), en("coord_cell_empty") + "\n" + en("at_cell"));
        QCOMPARE(f.PageControl1->currentIndex(), 1);
        QCOMPARE(f.StrGrid->currentIndex(), f.StrGridModel->index(1, 2));
        QVERIFY(f.data().CoordList.empty());
        w.type(1, 2, "4");
        f.OKBtn->click();
        QCOMPARE(f.data().CoordList.size(), std::size_t(3));
        f.StrGrid->selectionModel()->select(
            QItemSelection(f.StrGridModel->index(0, 1), f.StrGridModel->index(1, 2)),
            QItemSelectionModel::Select);
        f.CopySelection();
        QCOMPARE(QGuiApplication::clipboard()->text(), QString("P1\t1.0000\nP2\t4.0000\n"));
    }
};

QTEST_MAIN(TestDataViews)
#include "tst_dataviews.moc"
