// The main window as a person uses it: the program's real dialogs (message boxes, questions,
// file dialogs), answered by keys a moment after they show, and texts typed key by key into the
// real editors of the table. The faults a person met that the scripted seam could not show.
#include "dialog_answerer.h"
#include "instrument_program.h"
#include "mainwindow/startup.h"
#include "pseudo_terminal.h"
#include "test_files.h"
#include "ui/dialog_prompts.h"
#include "ui/entry_dialog.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QTableView>
#include <QTest>

#include <memory>

using namespace telvane;

namespace {

struct RealUse : InstrumentProgram<DialogPrompts> {
    DialogAnswerer answerer;

    RealUse() {
        prompts.setParentWindow(windows->Form1.get());
        prompts.setConfirmationDialog(windows->FormMessage.get());
        form().show();
        if (!QTest::qWaitForWindowExposed(&form()))
            qFatal("the window did not show");
    }
    // The window manager gives the focus back to the window a dialog came from; the offscreen
    // platform does not, and keys of the window's commands go to the active window.
    static void activate(QWidget* w) {
        w->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w));
    }
    // Lets queued work, dialogs and their answers happen.
    static void settle(int rounds = 20) {
        for (int i = 0; i < rounds; ++i)
            QTest::qWait(10);
    }
    // F2 on a cell: its editor.
    QLineEdit* edit(int row, int column) {
        TForm1& f = form();
        f.StrGrid->setCurrentIndex(f.StrGridModel->index(row, column));
        QTest::keyClick(f.StrGrid, Qt::Key_F2);
        return qobject_cast<QLineEdit*>(f.StrGrid->indexWidget(f.StrGridModel->index(row, column)));
    }
    QString cell(int row, int column) {
        return form().StrGridModel->index(row, column).data().toString();
    }
    // Types a row's cells through their editors, each ended with Return.
    void type_row(int row, const QStringList& cells) {
        for (int c = 0; c < cells.size(); ++c) {
            QLineEdit* editor = edit(row, c + 1);
            QVERIFY(editor);
            QTest::keyClicks(editor, cells[c]);
            QTest::keyClick(editor, Qt::Key_Return);
            settle(2);
        }
    }
};

} // namespace

class TestRealUse : public QObject {
    Q_OBJECT
private slots:
    // A refused key brings a real message box; dismissing it used to end the program. Now the
    // key is taken back, the cell keeps what it had, and typing goes on in the editor.
    void aRefusedKeyIsTakenBackAndTypingGoesOn_data() {
        QTest::addColumn<QByteArray>("file"); // points opened first ("" for an empty table)
        QTest::addColumn<int>("column");
        QTest::addColumn<QList<int>>("keys"); // Qt::Key values, typed in order
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("more"); // typed in the editor after the message
        QTest::addColumn<QString>("stands");
        using K = Qt::Key;
        QTest::newRow("a letter in North")
            << QByteArray() << 2 << QList<int>{K::Key_1, K::Key_2, K::Key_A}
            << en("illegal_data_type") << "3"
            << "123";
        QTest::newRow("a ninth character in a name")
            << QByteArray() << 1 << QList<int>{K::Key_A, K::Key_B, K::Key_C, K::Key_D, K::Key_E,
                                               K::Key_F, K::Key_G, K::Key_H, K::Key_I}
            << en("too_many_cha") << ""
            << "abcdefgh";
        // A name read from a file longer than eight characters: Backspace shortens it.
        QTest::newRow("Backspace in a long imported name")
            << QByteArray("LONGNAME12,C,1,2,3\r\n") << 1
            << QList<int>{K::Key_End, K::Key_Backspace, K::Key_Backspace} << QString() << ""
            << "LONGNAME";
    }
    void aRefusedKeyIsTakenBackAndTypingGoesOn() {
        QFETCH(QByteArray, file);
        QFETCH(int, column);
        QFETCH(QList<int>, keys);
        QFETCH(QString, message);
        QFETCH(QString, more);
        QFETCH(QString, stands);
        RealUse u;
        TForm1& f = u.form();
        if (!file.isEmpty()) {
            u.files.write("p.csv", file);
            QVERIFY(f.OpenFile(u.path("p.csv")));
        }
        QTest::mouseClick(f.CoordBtn, Qt::LeftButton);
        QCOMPARE(f.PageControl1->currentIndex(), 1);
        QLineEdit* editor = u.edit(0, column);
        QVERIFY(editor);
        for (int k : keys)
            QTest::keyClick(editor, static_cast<Qt::Key>(k));
        u.answerer.answers = {DialogAnswerer::key(Qt::Key_Return)};
        u.settle();
        QCOMPARE(u.answerer.shown, message.isEmpty() ? QStringList{} : QStringList{message});
        // The editor on the cell is open again (or still), and typing goes on there.
        auto* again =
            qobject_cast<QLineEdit*>(f.StrGrid->indexWidget(f.StrGridModel->index(0, column)));
        QVERIFY(again);
        QTest::keyClicks(again, more);
        QTest::keyClick(again, Qt::Key_Return);
        u.settle(2);
        QCOMPARE(u.cell(0, column), stands);
        QCOMPARE(u.answerer.shown.size(), message.isEmpty() ? 0 : 1);
    }

    // A name with a coordinate left empty: the real message names the row, the page stays on
    // that cell; nothing is stored as 0.
    void anEmptyCoordinateIsReported() {
        RealUse u;
        TForm1& f = u.form();
        QTest::mouseClick(f.CoordBtn, Qt::LeftButton);
        u.type_row(0, {"P1", "10"});
        u.answerer.answers = {DialogAnswerer::key(Qt::Key_Return)};
        QTest::mouseClick(f.OKBtn, Qt::LeftButton);
        u.settle();
        QCOMPARE(u.answerer.shown, QStringList{en("coord_cell_empty") + "\n" + en("at_cell")});
        QCOMPARE(f.PageControl1->currentIndex(), 1);
        QCOMPARE(f.StrGrid->currentIndex(), f.StrGridModel->index(0, 3));
        QVERIFY(f.data().CoordList.empty());
        u.type_row(0, {"P1", "10", "20", "30"});
        QTest::mouseClick(f.OKBtn, Qt::LeftButton);
        u.settle();
        QCOMPARE(f.PageControl1->currentIndex(), 0);
        QCOMPARE(f.data().CoordList.size(), std::size_t(1));
    }

    // Open with unsaved data asks first; an Open that gives nothing leaves the data as it was.
    void openAsksAndAFailedOpenKeepsTheData() {
        RealUse u;
        TForm1& f = u.form();
        QTest::mouseClick(f.CoordBtn, Qt::LeftButton);
        u.type_row(0, {"P1", "1", "2", "3", "C"});
        QTest::mouseClick(f.OKBtn, Qt::LeftButton);
        u.settle();
        QVERIFY(f.Doc().unsaved());
        QCOMPARE(f.data().CoordList.size(), std::size_t(1));
        u.files.write("garbage.txt", "a b,c\r\n1 2\r\n");
        u.files.write("garbage.PHI", "not,road\r\nrows\r\n");

        // Ctrl+O: the question; Escape keeps everything and no file dialog comes.
        u.answerer.answers = {DialogAnswerer::key(Qt::Key_Escape)};
        QTest::keyClick(&f, Qt::Key_O, Qt::ControlModifier);
        u.settle();
        QCOMPARE(u.answerer.dialogs, 1);
        QCOMPARE(f.data().CoordList.size(), std::size_t(1));

        for (const char* name : {"garbage.txt", "garbage.PHI", "missing.txt"}) {
            const int before = u.answerer.dialogs;
            u.answerer.answers = {DialogAnswerer::key(Qt::Key_Return),
                                  DialogAnswerer::path(u.path(name)),
                                  DialogAnswerer::key(Qt::Key_Return)};
            QTest::mouseClick(f.OpenBtn, Qt::LeftButton);
            u.settle(40);
            QVERIFY2(u.answerer.dialogs >= before + 2, name);
            QCOMPARE(f.data().Kind, DataKind::Points);
            QCOMPARE(f.data().CoordList.size(), std::size_t(1));
            QCOMPARE(f.StrGridModel->rowCount(), 1);
            QVERIFY(f.Doc().unsaved());
            u.answerer.answers.clear();
        }
    }

    // Receive cannot be pressed again while it runs, and can always be pressed when no transfer
    // runs, whatever is on show (a Stop with codes on show used to leave it disabled).
    void receiveIsOffExactlyWhileATransferRuns() {
        RealUse u;
        TForm1& f = u.form();
        u.files.write("codes.txt", "TREE\r\nWALL\r\n");
        QVERIFY(f.OpenFile(u.path("codes.txt")));
        QCOMPARE(f.data().Kind, DataKind::Codes);
        QVERIFY(f.ReceiveBtn->isEnabled());
        u.answerer.answers = {DialogAnswerer::key(Qt::Key_Return)}; // give the codes way
        QTest::mouseClick(f.ReceiveBtn, Qt::LeftButton);
        u.settle();
        QCOMPARE(f.LinkMode(), 1);
        QVERIFY(!f.ReceiveBtn->isEnabled());
        QTest::mouseClick(f.StopBtn, Qt::LeftButton);
        u.settle();
        QCOMPARE(f.LinkMode(), 0);
        QVERIFY(f.ReceiveBtn->isEnabled());
        QVERIFY(!f.StopBtn->isEnabled());
    }

    // A receive stopped inside a record loads the complete records, with one message.
    void aReceiveCutShortKeepsItsCompleteRecords() {
        RealUse u;
        TForm1& f = u.form();
        QTest::mouseClick(f.ReceiveBtn, Qt::LeftButton);
        u.settle(2);
        QCOMPARE(f.LinkMode(), 1);
        u.pty.send("JOB     DAY1\r\nINST    TS\r\n");
        for (int i = 1; i <= 115; ++i)
            u.pty.send(QStringLiteral("SC      P%1,1.3000,C\r\nENZ     %1.0000,2.0000,3.0000\r\n")
                           .arg(i)
                           .toStdString());
        u.pty.send("SC      P116,1.3000,C\r\nENZ     1.00"); // the line goes quiet here
        u.settle(30);
        u.answerer.answers = {DialogAnswerer::key(Qt::Key_Return)};
        QTest::mouseClick(f.StopBtn, Qt::LeftButton);
        u.settle();
        QCOMPARE(f.LinkMode(), 0);
        QCOMPARE(f.data().Kind, DataKind::Records);
        QCOMPARE(f.data().RecordList.size(), std::size_t(115));
        QCOMPARE(u.answerer.shown, QStringList{en("job_cut_short")});
        QVERIFY(f.ReceiveBtn->isEnabled());
    }

    void undoAndRedoInTheMainWindow();
    void undoAndRedoInTheRoadWindow();
    void aRefusedEntryStaysOpenOnItsBox();

    // F1 shows the help; the data stays and Ctrl+S saves it, not the help.
    void helpKeepsTheDataForSave() {
        RealUse u;
        TForm1& f = u.form();
        u.files.write("p.csv", "P1,C,1,2,3\r\n");
        QVERIFY(f.OpenFile(u.path("p.csv")));
        QTest::keyClick(&f, Qt::Key_F1);
        QVERIFY(f.HelpShown());
        QVERIFY(f.MeasText->isVisible());
        u.answerer.answers = {DialogAnswerer::path(u.path("back.csv"))};
        QTest::keyClick(&f, Qt::Key_S, Qt::ControlModifier);
        u.settle(40);
        QVERIFY(u.files.read("back.csv").startsWith("P1"));
        QVERIFY(f.windowTitle().startsWith("back.csv - "));
    }
};

// Undo and redo in the main window through real keys: typing into cells, Ctrl+V, Delete, then
// Ctrl+Z step by step back to the points as opened (and no question on closing), Ctrl+Y again.
void TestRealUse::undoAndRedoInTheMainWindow() {
    RealUse u;
    TForm1& f = u.form();
    u.files.write("p.csv", "P1,C,1,2,3\r\nP2,C,4,5,6\r\n");
    QVERIFY(f.OpenFile(u.path("p.csv")));
    QVERIFY(!f.Doc().unsaved());
    QTest::mouseClick(f.CoordBtn, Qt::LeftButton);
    u.type_row(0, {"Q1", "10"});
    QCOMPARE(u.cell(0, 1), QString("Q1"));
    QGuiApplication::clipboard()->setText("P9\t9\t9\t9\tK\n");
    f.StrGrid->setCurrentIndex(f.StrGridModel->index(1, 1));
    QTest::keyClick(f.StrGrid, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(u.cell(1, 1), QString("P9"));
    f.StrGrid->setCurrentIndex(f.StrGridModel->index(0, 1));
    // Delete asks, No being the default: Yes is clicked.
    u.answerer.answers = {DialogAnswerer::button(QMessageBox::Yes)};
    QTest::keyClick(f.StrGrid, Qt::Key_Delete);
    u.settle();
    QCOMPARE(f.StrGridModel->rowCount(), 1);
    QCOMPARE(u.cell(0, 1), QString("P9"));
    const QStringList after = {u.cell(0, 1), u.cell(0, 2)};
    RealUse::activate(&f);
    // Back: the deleted row, the paste, the two typed cells, then the editing page itself.
    QTest::keyClick(&f, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(f.StrGridModel->rowCount(), 2);
    QCOMPARE(u.cell(0, 1), QString("Q1"));
    QTest::keyClick(&f, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(u.cell(1, 1), QString("P2"));
    QTest::keyClick(&f, Qt::Key_Z, Qt::ControlModifier);
    QTest::keyClick(&f, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(u.cell(0, 1), QString("P1"));
    QCOMPARE(u.cell(0, 2), QString("1.0000"));
    QTest::keyClick(&f, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(f.PageControl1->currentIndex(), 0);
    QVERIFY(!f.Doc().unsaved()); // the points as opened: closing asks nothing
    // And forward again, with the other key of redo for the last step.
    for (int i = 0; i < 4; ++i)
        QTest::keyClick(&f, Qt::Key_Y, Qt::ControlModifier);
    QTest::keyClick(&f, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(f.PageControl1->currentIndex(), 1);
    QCOMPARE((QStringList{u.cell(0, 1), u.cell(0, 2)}), after);
    QVERIFY(f.Doc().unsaved());
    QVERIFY(!f.RedoBtn2->isEnabled());
    QVERIFY(f.UndoBtn2->isEnabled());
}

// Undo and redo in the road window through real keys: a grade point entered in its real dialog
// by typing, a row deleted after the real question, then Ctrl+Z and Ctrl+Y.
void TestRealUse::undoAndRedoInTheRoadWindow() {
    RealUse u;
    TForm1& f = u.form();
    road::TFormRoadCalculate& r = *u.windows->FormRoadCalculate;
    QTest::mouseClick(f.RoadCalcBtn, Qt::LeftButton);
    QVERIFY(r.isVisible());
    r.PageControl1->setCurrentIndex(road::PageIndex(RoadList::Profile));
    const auto type_grade = [](const QStringList& values) {
        return [values](QWidget* dialog) {
            auto* d = qobject_cast<EntryDialog*>(dialog);
            if (!d || d->objectName() != "TFormlongSlopesInport") {
                QTest::keyClick(dialog, Qt::Key_Escape);
                return;
            }
            QLineEdit* boxes[5];
            for (int i = 0; i < 5; ++i)
                boxes[i] = qobject_cast<QLineEdit*>(d->box(i));
            for (int i = 0; i < 5; ++i) {
                boxes[i]->setFocus();
                QTest::keyClicks(boxes[i], values[i]);
            }
            QTest::keyClick(boxes[4], Qt::Key_Return); // OK is the default button
        };
    };
    u.answerer.answers = {type_grade({"0", "100", "0", "10", "10"})};
    QTest::mouseClick(r.BtnAppend, Qt::LeftButton);
    u.settle();
    u.answerer.answers = {type_grade({"500", "105", "0", "10", "10"})};
    QTest::mouseClick(r.BtnAppend, Qt::LeftButton);
    u.settle();
    QVERIFY2(u.answerer.shown.isEmpty(), qPrintable(u.answerer.shown.join("|")));
    QCOMPARE(u.answerer.dialogs, 2);
    QCOMPARE(r.Data.GradePoints().size(), std::size_t(2));
    QCOMPARE(r.Data.GradePoints()[1].Height, 105.0);
    r.SGSlope->setCurrentIndex(r.SGSlope->model()->index(0, 0));
    u.answerer.answers = {DialogAnswerer::key(Qt::Key_Return)}; // confirm the delete
    QTest::mouseClick(r.BtnDelete, Qt::LeftButton);
    u.settle();
    QCOMPARE(r.Data.GradePoints().size(), std::size_t(1));
    RealUse::activate(&r);
    QTest::keyClick(&r, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(r.Data.GradePoints().size(), std::size_t(2));
    QCOMPARE(r.SGSlope->model()->rowCount(), 2);
    QTest::keyClick(&r, Qt::Key_Z, Qt::ControlModifier);
    QTest::keyClick(&r, Qt::Key_Z, Qt::ControlModifier);
    QVERIFY(r.Data.GradePoints().empty());
    QVERIFY(!r.BtnUndo->isEnabled());
    QVERIFY(!r.HasUnsavedChanges());
    QTest::keyClick(&r, Qt::Key_Y, Qt::ControlModifier);
    QTest::keyClick(&r, Qt::Key_Y, Qt::ControlModifier);
    QCOMPARE(r.Data.GradePoints().size(), std::size_t(2));
    QVERIFY(r.HasUnsavedChanges());
    QVERIFY(r.BtnRedo->isEnabled());
}

// A stake typed wrong in the real entry dialog: the real message names the box, and after it the
// dialog is still open with the box's text selected, so that typing replaces it.
void TestRealUse::aRefusedEntryStaysOpenOnItsBox() {
    RealUse u;
    road::TFormRoadCalculate& r = *u.windows->FormRoadCalculate;
    QTest::mouseClick(u.form().RoadCalcBtn, Qt::LeftButton);
    r.PageControl1->setCurrentIndex(road::PageIndex(RoadList::Stakes));
    QString focus, selected;
    u.answerer.answers = {[](QWidget* dialog) {
                              QTest::keyClicks(dialog->focusWidget(), QStringLiteral("12x"));
                              QTest::keyClick(dialog, Qt::Key_Return);
                          },
                          DialogAnswerer::key(Qt::Key_Return), // the message
                          [&](QWidget* dialog) {
                              // The dialog's own focus: offscreen, no window manager gives it the
                              // active window back when the message closes.
                              auto* box = qobject_cast<QLineEdit*>(dialog->focusWidget());
                              focus = box ? box->objectName() : QString();
                              selected = box ? box->selectedText() : QString();
                              if (box)
                                  QTest::keyClicks(box, QStringLiteral("120"));
                              QTest::keyClick(dialog, Qt::Key_Return);
                          }};
    QTest::mouseClick(r.BtnAppend, Qt::LeftButton);
    u.settle();
    QCOMPARE(u.answerer.shown.join("|"), en("input_not_number") + en("Mileage"));
    QCOMPARE(focus, QString("Edit1"));
    QCOMPARE(selected, QString("12x"));
    QCOMPARE(r.Data.Stakes().size(), std::size_t(1));
    QCOMPARE(r.Data.Stakes()[0].Mileage, 120.0);
}

QTEST_MAIN(TestRealUse)
#include "tst_real_use.moc"
