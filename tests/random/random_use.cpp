// Random use of both windows: from a seed, thousands of steps, each a command of the main window
// or the road window with texts, answers, files and instrument events drawn at random. After
// every step the invariants are checked; a failure names its seed and step, and the same seed
// repeats it.
//
// Two modes. By default every question is answered through the scripted seam and texts go into
// the models directly: fast, and it reaches every command. With --real-dialogs the program's
// own dialogs run: every message box, question, file dialog and entry dialog is the real modal
// dialog, dismissed a moment after it shows by a key (Return, Escape) or a click, file dialogs
// are answered by typing a path; buttons are clicked with the mouse, and texts are typed key by
// key into the real editor that a double-click, F2 or a first key opens on a cell. That is
// where a modal loop can delete an editor that is still in use.
//
//   telvane_random_use [--real-dialogs] [--seed N] [--steps N] [--corpus DIR]...
#include "dialog_answerer.h"
#include "fileio/opendata.h"
#include "fileio/savedata.h"
#include "mainwindow/startup.h"
#include "model/numtext.h"
#include "pseudo_terminal.h"
#include "scripted_prompts.h"
#include "test_files.h"
#include "ui/dialog_prompts.h"
#include "ui/entry_dialog.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDirIterator>
#include <QFileDialog>
#include <QFileInfo>
#include <QGroupBox>
#include <QLineEdit>
#include <QMap>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>
#include <random>

using namespace telvane;

namespace {

const QStringList kTexts = {"",
                            "P1",
                            "A B",
                            QStringLiteral("中文中文中"),
                            "12345678.123",
                            "-",
                            ".",
                            "1e5",
                            "nan",
                            "inf",
                            "99999999999",
                            "-0.5",
                            "0",
                            "100",
                            "-1",
                            "1e999",
                            "abc",
                            "a,b",
                            "\t",
                            QStringLiteral("😀"),
                            QString(300, QLatin1Char('x')),
                            "3000.25",
                            "-100000000",
                            "JD1",
                            "K0+100",
                            "12.",
                            " 5 ",
                            "0.0001"};

const std::vector<std::string> kTransfers = {
    "JOB     DAY1\r\nINST    TS\r\nSTA     S1,1.5000,CP\r\nXYZ     100.0000,200.0000,10.0000\r\n"
    "SC      P1,1.3000,C\r\nHVD     3600,324000,50.0000\r\nENZ     1.0000,2.0000,3.0000\r\n",
    "SC      P1,1.0,C\r\nENZ     1.0,2.0,3.0\r\nSC      P2,1.0,\r\nNEZ     4.0,5.0,6.0\r\n",
    "TREE\r\nWALL\r\nPOLE\r\n",
    "JOB     X\r\nINST    Y\r\nSD      A,1,\r\nHVD     nan,inf,1e999\r\n",
    std::string("\x00\xff\r\n\r\n\x81,\x7f\r", 9),
    "garbage without a line end",
};

class RandomUse {
public:
    RandomUse(unsigned seed, QStringList files, bool real)
        : seed_(seed), rng_(seed), files_(std::move(files)), real_(real) {
        QStringList keys = all_window_keys();
        keys.removeIf([](const QString& k) { return k.endsWith("_FILTER"); });
        lang_.write_language(keys);
        lang_.write_help(QStringLiteral("帮助"), QStringLiteral("Help"));
        lang_.write_gbk("FileType.cfg",
                        "[OPEN_FILTER]\nEnglish=All|*\n[SAVE_JOB_FILTER]\nEnglish=R|*.csv|R2|*.txt|"
                        "P|*.csv|D|*.dxf|G5|*.gt7|G6|*.gt7|G7|*.gt7|P2|*.csv|J|*.txt\n"
                        "[SAVE_COORD_FILTER]\nEnglish=P|*.csv|D|*.dxf|P|*.txt|P|*.dat|P2|*.csv\n"
                        "[SAVE_CODE_FILTER]\nEnglish=C|*.txt\n[OPEN_PHI_FILTER]\nEnglish=P|*.PHI\n"
                        "[OPEN_SEC_FILTER]\nEnglish=S|*.SEC\n[OPEN_PVI_FILTER]\nEnglish=V|*.PVI\n"
                        "[OPEN_PILE_FILTER]\nEnglish=C|*.csv\n");
        pty_ = std::make_unique<Pty>();
        TComPort::SetDeviceLister([] { return QStringList{}; });
        // The dialogs are looked at often, from the start (the start itself may say something);
        // each is answered a moment after it shows.
        if (real_)
            connect_dismisser();
        StartResult r = start_windows({lang_.dir(), lang_.ini(), lang_.dir()}, seam());
        if (!r.windows)
            qFatal("start failed: %s", qPrintable(r.error));
        w_ = std::move(r.windows);
        if (real_) {
            dialogs_.setParentWindow(w_->Form1.get());
            dialogs_.setConfirmationDialog(w_->FormMessage.get());
        }
        form().show();
        form().ComComboBox7->SelectDevice(pty_->name());
    }
    ~RandomUse() { TComPort::SetDeviceLister(nullptr); }

    // Runs the steps; the reason of the first failure, or "".
    QString run(int steps) {
        for (step_ = 1; step_ <= steps; ++step_) {
            answer_everything();
            last_.clear();
            if (trace_)
                std::fprintf(stderr, "step %d\n", step_);
            one_step();
            if (trace_)
                std::fprintf(stderr, "  %s\n", qPrintable(last_));
            QApplication::processEvents();
            if (real_) // what the real dialogs showed, for the checks
                prompts_.messages << answerer_->shown, answerer_->shown.clear();
            if (!last_.isEmpty())
                ++done_[last_];
            messages_ += prompts_.messages.size();
            const QString broken = check();
            if (!broken.isEmpty())
                return QStringLiteral("step %1 (%2): %3").arg(step_).arg(last_).arg(broken);
        }
        return {};
    }

    // What the run did, to see that it reached every corner.
    void summary() const {
        std::printf("%lld messages shown;", static_cast<long long>(messages_));
        for (auto it = done_.begin(); it != done_.end(); ++it)
            std::printf(" %s %d;", qPrintable(it.key()), it.value());
        std::printf("\n");
    }

private:
    Prompts& seam() { return real_ ? static_cast<Prompts&>(dialogs_) : prompts_; }

    // ---- the real dialogs' answers ----

    void connect_dismisser() {
        answerer_ = std::make_unique<DialogAnswerer>();
        answerer_->fallback = [this](QWidget* modal) { answer(modal); };
    }

    void key(QWidget* w, Qt::Key k, Qt::KeyboardModifiers m = Qt::NoModifier) {
        QTest::keyClick(w, k, m);
    }

    // Types `text` into `w` as key events: a key a character; characters beyond the keyboard
    // come as the text of one key event, as an input method sends them.
    void type_keys(QWidget* w, const QString& text) {
        for (char32_t c : text.toUcs4()) {
            if (c < 128 && c != '\t')
                QTest::keyClick(w, static_cast<char>(c));
            else
                QTest::sendKeyEvent(QTest::Click, w, Qt::Key_unknown, QString::fromUcs4(&c, 1),
                                    Qt::NoModifier);
        }
    }

    // A random answer: a key (Return, Escape) or a click on a button of the dialog; a path
    // typed into a file dialog; texts typed into an entry dialog.
    void answer(QWidget* modal) {
        if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            const QList<QAbstractButton*> buttons = box->buttons();
            if (chance(20) && !buttons.isEmpty())
                QTest::mouseClick(buttons[pick(static_cast<int>(buttons.size()))], Qt::LeftButton);
            else
                key(box, chance(70) ? Qt::Key_Return : Qt::Key_Escape);
        } else if (auto* question = qobject_cast<TFormMessage*>(modal)) {
            if (chance(20))
                QTest::mouseClick(chance(60) ? question->Button1 : question->Button2,
                                  Qt::LeftButton);
            else
                key(question, chance(60) ? Qt::Key_Return : Qt::Key_Escape);
        } else if (auto* files = qobject_cast<QFileDialog*>(modal)) {
            answer_file_dialog(files);
        } else if (auto* entry = qobject_cast<EntryDialog*>(modal)) {
            answer_entry_dialog(entry);
        } else {
            key(modal, Qt::Key_Escape);
        }
    }

    void answer_file_dialog(QFileDialog* dialog) {
        if (chance(12)) {
            key(dialog, Qt::Key_Escape);
            return;
        }
        const bool save = dialog->acceptMode() == QFileDialog::AcceptSave;
        QString path;
        if (save || (files_.isEmpty() && saved_.isEmpty()) || chance(10)) {
            path = lang_.dir() + QStringLiteral("/saved%1").arg(pick(6)) +
                   (chance(50) ? QStringLiteral(".csv") : QString());
            saved_ << path;
        } else {
            path = file();
        }
        if (auto* types = dialog->findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
            types && types->count() > 1 && chance(60))
            dialog->selectNameFilter(types->itemText(pick(types->count())));
        auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        if (!name) {
            dialog->selectFile(path);
            static_cast<QDialog*>(dialog)->accept();
            return;
        }
        name->setFocus();
        key(name, Qt::Key_A, Qt::ControlModifier);
        type_keys(name, path);
        key(name, Qt::Key_Return);
    }

    void answer_entry_dialog(EntryDialog* dialog) {
        for (QComboBox* c : dialog->findChildren<QComboBox*>())
            if (c->count() > 0 && chance(50))
                c->setCurrentIndex(pick(c->count()));
        for (QLineEdit* e : dialog->findChildren<QLineEdit*>()) {
            if (e->objectName().isEmpty() || !chance(80))
                continue;
            e->setFocus();
            key(e, Qt::Key_A, Qt::ControlModifier);
            type_keys(e, chance(60) ? QString::number(pick(2000) - 500) : text());
        }
        if (chance(15))
            QTest::mouseClick(dialog->Button2, Qt::LeftButton);
        else if (chance(10))
            key(dialog, Qt::Key_Escape);
        else if (QWidget* focus = QApplication::focusWidget(); focus && dialog->isAncestorOf(focus))
            key(focus, Qt::Key_Return); // the default button: OK
        else
            QTest::mouseClick(dialog->Button1, Qt::LeftButton);
    }

    // A button pressed as a person would: with the mouse, or by the scripted click.
    void press(QPushButton* b) {
        if (real_)
            QTest::mouseClick(b, Qt::LeftButton);
        else
            b->click();
    }

    // Types into a table cell through its real editor: opened by a double-click, F2 or a first
    // key, then key by key, ended with Return, Tab, Escape or a click on another cell. A
    // refused key brings a real message box, whose modal loop closes the editor: typing goes on
    // in the editor that is open afterwards.
    void type_into_cell(QTableView* table, const QModelIndex& at, const QString& typed) {
        table->setFocus();
        table->setCurrentIndex(at);
        table->scrollTo(at);
        const QPoint centre = table->visualRect(at).center();
        QString rest = typed;
        switch (pick(3)) {
        case 0:
            QTest::mouseDClick(table->viewport(), Qt::LeftButton, Qt::NoModifier, centre);
            break;
        case 1:
            key(table, Qt::Key_F2);
            break;
        default: // the first key opens the editor and goes into it
            if (!rest.isEmpty() && rest.front().unicode() < 128 && rest.front() != '\t' &&
                rest.front() != ' ') {
                QTest::keyClick(table, rest.front().toLatin1());
                rest.remove(0, 1);
            } else {
                key(table, Qt::Key_F2);
            }
            break;
        }
        for (char32_t c : rest.toUcs4()) {
            auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
            if (!editor || !table->isAncestorOf(editor))
                break;
            if (chance(20))
                key(editor, Qt::Key_Backspace);
            type_keys(editor, QString::fromUcs4(&c, 1));
            if (chance(30))
                QApplication::processEvents(); // a refusal's message shows between keys
        }
        QApplication::processEvents();
        QWidget* editor = QApplication::focusWidget();
        if (!editor || !table->isAncestorOf(editor) || editor == table)
            return;
        switch (pick(4)) {
        case 0:
            key(editor, Qt::Key_Return);
            break;
        case 1:
            key(editor, Qt::Key_Tab);
            break;
        case 2:
            key(editor, Qt::Key_Escape);
            break;
        default: {
            const int rows = table->model()->rowCount();
            const QModelIndex other = table->model()->index(pick(std::max(rows, 1)), 1);
            QTest::mouseClick(table->viewport(), Qt::LeftButton, Qt::NoModifier,
                              table->visualRect(other).center());
            break;
        }
        }
    }

    TForm1& form() { return *w_->Form1; }
    road::TFormRoadCalculate& road() { return *w_->FormRoadCalculate; }
    // A number in 0..n-1 (0 when there is nothing to choose from: the distribution would have
    // no range).
    int pick(int n) { return n <= 1 ? 0 : std::uniform_int_distribution<int>(0, n - 1)(rng_); }
    bool chance(int percent) { return pick(100) < percent; }
    QString text() { return kTexts[pick(static_cast<int>(kTexts.size()))]; }
    QString file() {
        if (!saved_.isEmpty() && chance(40))
            return saved_[pick(static_cast<int>(saved_.size()))];
        return files_.isEmpty() ? QString() : files_[pick(static_cast<int>(files_.size()))];
    }

    // Every question, file dialog and entry dialog of the step gets a random answer.
    void answer_everything() {
        prompts_.answers.clear();
        prompts_.yesNoAnswers.clear();
        prompts_.fileAnswers.clear();
        for (int i = 0; i < 4; ++i) {
            prompts_.answers << (chance(60) ? 1 : 2);
            prompts_.yesNoAnswers << chance(60);
            if (chance(15)) {
                prompts_.fileAnswers << std::nullopt;
            } else if (chance(50)) {
                prompts_.fileAnswers << FileChoice{file(), 1 + pick(10)};
            } else {
                const QString name = lang_.dir() + QStringLiteral("/saved%1").arg(pick(6)) +
                                     (chance(50) ? QStringLiteral(".csv") : QString());
                saved_ << name;
                prompts_.fileAnswers << FileChoice{name, 1 + pick(10)};
            }
        }
        prompts_.messages.clear();
    }

    void instrument() {
        switch (pick(4)) {
        case 0: { // a transfer, in random pieces
            const std::string& t = kTransfers[static_cast<std::size_t>(pick(6))];
            std::size_t at = 0;
            while (at < t.size()) {
                const std::size_t n = 1 + static_cast<std::size_t>(pick(40));
                pty_->send(t.substr(at, n));
                at += n;
                if (chance(30))
                    QApplication::processEvents();
            }
            last_ = "instrument sends";
            break;
        }
        case 1:
            pty_->send("\r");
            last_ = "instrument asks";
            break;
        case 2:
            form().Timer1Timer(); // the silence that ends a transfer
            last_ = "silence";
            break;
        default:
            if (chance(20)) { // a pulled cable; a new one comes
                pty_->hang_up();
                for (int i = 0; i < 5; ++i)
                    QApplication::processEvents();
                pty_ = std::make_unique<Pty>();
                if (!form().Link1.busy() && form().ComportSettingGroup->isEnabled())
                    form().ComComboBox7->SelectDevice(pty_->name());
                last_ = "hang-up";
            }
            break;
        }
        for (int i = 0; i < 3; ++i)
            QApplication::processEvents();
    }

    void main_window() {
        TForm1& f = form();
        // Now and then the user puts the table right and leaves the editing page.
        if (f.StrGridModel->grid() && chance(6)) {
            for (int r = 0; r < f.StrGridModel->rowCount(); ++r)
                for (int c = 1; c < f.StrGridModel->columnCount(); ++c)
                    f.StrGridModel->setData(f.StrGridModel->index(r, c),
                                            c == 1 ? QStringLiteral("P%1").arg(r)
                                                   : QStringLiteral("1"));
            press(f.OKBtn);
            last_ = "tidied the table";
            return;
        }
        QPushButton* buttons[] = {f.ReceiveBtn, f.SendBtn,   f.StopBtn, f.CoordBtn,
                                  f.CodeBtn,    f.OpenBtn,   f.SaveBtn, f.HelpBtn,
                                  f.AppendBtn,  f.InsertBtn, f.DelBtn,  f.OKBtn};
        // Undo and redo, by their keys or their buttons on either page.
        if (chance(8)) {
            const bool undo = chance(65);
            if (real_ && chance(50)) {
                f.setFocus();
                if (undo)
                    key(&f, Qt::Key_Z, Qt::ControlModifier);
                else
                    key(&f, Qt::Key_Y, Qt::ControlModifier);
            } else {
                QPushButton* b = f.PageControl1->currentIndex() == 1
                                     ? (undo ? f.UndoBtn2 : f.RedoBtn2)
                                     : (undo ? f.UndoBtn : f.RedoBtn);
                if (b->isEnabled() && f.isEnabled())
                    press(b);
            }
            last_ = undo ? "undo" : "redo";
            return;
        }
        int what = pick(16);
        // Typing is where a person meets the checks: with real editors it is done often.
        if (real_ && f.StrGridModel->grid() && chance(30))
            what = 12;
        if (what < 12) {
            QPushButton* b = buttons[what];
            last_ = b->objectName();
            if (b->isEnabled() && b->isVisibleTo(&f) && f.isEnabled())
                press(b);
            else
                last_.clear();
            return;
        }
        if (what == 12 && f.StrGridModel->rowCount() > 0 && f.StrGridModel->grid()) {
            const QModelIndex at = f.StrGridModel->index(pick(f.StrGridModel->rowCount()),
                                                         pick(f.StrGridModel->columnCount()));
            if (real_) {
                type_into_cell(f.StrGrid, at, text());
            } else {
                f.StrGrid->setCurrentIndex(at);
                f.StrGridModel->setData(at, text());
            }
            last_ = "typed a cell";
        } else if (what == 13 && f.StrGridModel->grid()) {
            QString block;
            for (int r = 0, rows = 1 + pick(4); r < rows; ++r) {
                for (int c = 0, cols = 1 + pick(6); c < cols; ++c)
                    block += (c ? "\t" : "") + text();
                block += "\n";
            }
            if (real_) { // Ctrl+V on the table
                QGuiApplication::clipboard()->setText(block);
                f.StrGrid->setCurrentIndex(f.StrGridModel->index(
                    pick(f.StrGridModel->rowCount()), 1 + pick(f.StrGridModel->columnCount() - 1)));
                f.StrGrid->setFocus();
                key(f.StrGrid, Qt::Key_V, Qt::ControlModifier);
            } else {
                f.PasteCells(block);
            }
            last_ = "pasted";
        } else if (what == 14 && f.vLanguage->isEnabled() && f.PageControl1->currentIndex() == 0) {
            f.vLanguageChange(pick(2));
            last_ = "language";
        } else if (what == 15 && f.StrGridModel->rowCount() > 0) {
            f.StrGrid->setCurrentIndex(f.StrGridModel->index(pick(f.StrGridModel->rowCount()), 1));
            last_ = "selected a row";
        }
    }

    // The next entry form, filled at random (the real dialog is answered by keys when it shows).
    void fill(RoadList page) {
        prompts_.entryAnswers.clear();
        if (real_)
            return;
        QMap<QString, QString> boxes;
        for (const road::EntryField& f : road::EntryFormOf(page).Fields) {
            if (!f.ChoiceKeys.empty()) {
                if (chance(50))
                    boxes[f.Name] = QString::number(pick(static_cast<int>(f.ChoiceKeys.size())));
            } else if (chance(80)) {
                boxes[f.Name] = chance(60) ? QString::number(pick(2000) - 500) : text();
            }
        }
        if (chance(85))
            prompts_.entryAnswers << boxes;
    }

    void road_window() {
        road::TFormRoadCalculate& r = road();
        if (!r.isVisible()) {
            if (form().RoadCalcBtn->isEnabled() && form().RoadCalcBtn->isVisibleTo(&form()) &&
                form().isEnabled())
                press(form().RoadCalcBtn);
            last_ = "road window";
            return;
        }
        r.PageControl1->setCurrentIndex(pick(4));
        const RoadList page = r.ActivePage();
        QTableView* tables[] = {r.SGIntersection, r.SGMainPile, r.SGSlope, r.SGPile};
        QTableView* table = tables[road::PageIndex(page)];
        if (table->model()->rowCount() > 0)
            table->setCurrentIndex(table->model()->index(pick(table->model()->rowCount()), 0));
        switch (pick(11)) {
        case 0:
        case 1:
            fill(page);
            press(r.BtnAppend);
            last_ = "road append";
            break;
        case 2:
            fill(page);
            press(r.BtnInsert);
            last_ = "road insert";
            break;
        case 3:
            if (r.Data.Count(page) > 0)
                fill(page);
            press(r.BtnUpdate);
            last_ = "road update";
            break;
        case 4:
            press(r.BtnDelete);
            last_ = "road delete";
            break;
        case 5:
            press(r.BtnLoad);
            last_ = "road load";
            break;
        case 6:
            press(r.BtnSave);
            last_ = "road save";
            break;
        case 7:
        case 8:
            for (QLineEdit* e : {r.Edit1, r.Edit2, r.Edit3, r.Edit4, r.Edit5}) {
                if (!chance(30))
                    continue;
                const QString t = chance(70) ? QString::number(pick(3000)) : text();
                if (real_) {
                    e->setFocus();
                    key(e, Qt::Key_A, Qt::ControlModifier);
                    type_keys(e, t);
                } else {
                    e->setText(t);
                }
            }
            press(r.BtnCalculate);
            last_ = "road calculate";
            break;
        case 9:
            press(r.BtnClear);
            last_ = "road clear";
            break;
        default:
            press(r.BtnExit);
            last_ = "road exit";
            break;
        }
    }

    void one_step() {
        const int what = pick(20);
        if (road().isVisible()) {
            if (what < 12)
                road_window();
            else if (what < 14)
                press(road().BtnExit), last_ = "road exit";
            else
                instrument();
        } else if (what < 13) {
            main_window();
        } else if (what < 14) {
            road_window();
        } else {
            instrument();
        }
    }

    static bool finite(double v) { return std::isfinite(v); }

    QString check() {
        // An exception that reached a command's guard is shown as its bare text; every message
        // of the program is a text of the language file (or one of its own texts in Chinese).
        for (const QString& m : prompts_.messages) {
            const bool ours =
                m.startsWith("EN ") || m.startsWith(QStringLiteral("中文 ")) || m == "BINARY" ||
                m.startsWith("ERROR:") ||
                std::any_of(m.begin(), m.end(), [](QChar c) { return c.unicode() >= 0x4e00; });
            if (!ours)
                return "unexpected message: " + m;
        }
        TForm1& f = form();
        const DataState& d = f.data();
        // The help takes the place of the view and leaves the data where it is.
        const bool text_view = d.Kind == DataKind::Records || f.HelpShown();
        if (f.MeasText->isVisibleTo(&f) != text_view || f.StrGrid->isVisibleTo(&f) == text_view)
            return QStringLiteral("the view does not match kind %1").arg(data_kind_number(d));
        if ((f.PageControl1->currentIndex() == 1) != (f.Doc().grid() != nullptr))
            return "the editing page is not up exactly while the document has its table";
        if (f.Doc().grid() &&
            f.StrGridModel->rowCount() != static_cast<int>(f.Doc().grid()->rows()))
            return "the table shows another number of rows than the document holds";
        if (f.Link1.busy()) {
            if (f.OpenBtn->isEnabled() || f.FileControlGroup->isEnabled() ||
                !f.StopBtn->isEnabled() || f.ReceiveBtn->isEnabled())
                return "controls enabled during a transfer";
        } else if (f.StopBtn->isEnabled()) {
            return "Stop enabled with no transfer";
        } else if (!f.ReceiveBtn->isEnabled() && f.TransControlGroup->isEnabled()) {
            return "Receive disabled with no transfer";
        }
        if (road().isVisible() == f.isEnabled())
            return "the main window is not disabled exactly while the road window is up";
        for (const coord_item& p : d.CoordList)
            if (!finite(p.north) || !finite(p.east) || !finite(p.elev) || p.name.size() > 15)
                return "a point is not finite";
        for (const coord3_item& p : d.Coord3List)
            if (!finite(p.north) || !finite(p.east) || !finite(p.elev) || !finite(p.dh) ||
                !finite(p.dof) || !finite(p.dv))
                return "a point with further values is not finite";
        for (const record_item& r : d.RecordList)
            if (const auto* sc = std::get_if<sc_data>(&r.data))
                if (!finite(sc->north) || !finite(sc->ha) || !finite(sc->sd))
                    return "a record is not finite";
        const road::RoadState& s = road().Data.State();
        for (const auto& e : s.PlaneElements)
            if (!finite(e.North) || !finite(e.East) || !finite(e.Length) || !finite(e.Mileage))
                return "an element is not finite";
        for (const auto& p : s.Stakes)
            if (!finite(p.MiddleN) || !finite(p.LeftE) || !finite(p.RightZ))
                return "a stake is not finite";
        if (step_ % 20 == 0)
            return save_and_open();
        return {};
    }

    // A save read back by Open gives the same data.
    QString save_and_open() {
        const DataState& d = form().data();
        const FileSettings settings = form().Settings();
        int position = 0;
        if (d.Kind == DataKind::Points && !d.CoordList.empty())
            position = 1;
        else if (d.Kind == DataKind::Codes && !d.CodeList.empty())
            position = 1;
        else if (d.Kind == DataKind::Records && !d.RecordList.empty())
            position = 9;
        if (position == 0)
            return {};
        // Open tries the stake list and the DXF drawing before the code list, as it always did:
        // codes that are all numbers after the first read back as stakes, and a first code "0"
        // or "999" starts a drawing.
        if (d.Kind == DataKind::Codes &&
            (d.CodeList.front().code == "0" || d.CodeList.front().code == "999" ||
             std::all_of(d.CodeList.begin() + 1, d.CodeList.end(), [](const code_item& c) {
                 double v = 0;
                 return try_parse_double(c.code.view(), v);
             })))
            return {};
        const std::string path = (lang_.dir() + "/roundtrip.txt").toStdString();
        const SaveOutcome out = build_save(d, position, path, settings);
        if (!out.write || !write_save(path, out, nullptr))
            return "a save of the data on show failed";
        DataState back;
        Messages messages;
        if (!open_data_file(path, back, settings, messages) || back.Kind != d.Kind)
            return QStringLiteral("kind %1 saved, opened as kind %2: %3")
                .arg(data_kind_number(d))
                .arg(data_kind_number(back))
                .arg(QString::fromLatin1(
                    QByteArray::fromStdString(out.bytes.substr(0, 120)).toPercentEncoding(" ,.")));
        // The list on show comes back whole (the others are not saved with it).
        const bool same_count =
            d.Kind == DataKind::Points  ? back.CoordList.size() == d.CoordList.size()
            : d.Kind == DataKind::Codes ? back.CodeList.size() == d.CodeList.size()
                                        : back.RecordList.size() == d.RecordList.size();
        if (!same_count)
            return QStringLiteral("kind %1 came back with %2/%3/%4 of %5/%6/%7: %8")
                .arg(data_kind_number(d))
                .arg(back.CoordList.size())
                .arg(back.CodeList.size())
                .arg(back.RecordList.size())
                .arg(d.CoordList.size())
                .arg(d.CodeList.size())
                .arg(d.RecordList.size())
                .arg(QString::fromLatin1(
                    QByteArray::fromStdString(out.bytes.substr(0, 160)).toPercentEncoding(" ,.")));
        for (std::size_t i = 0; d.Kind == DataKind::Points && i < d.CoordList.size(); ++i)
            if (std::fabs(back.CoordList[i].north - d.CoordList[i].north) > 1e-3 ||
                !(back.CoordList[i].code == d.CoordList[i].code.view()))
                return QStringLiteral("point %1 came back changed").arg(i);
        return {};
    }

    unsigned seed_;
    std::mt19937 rng_;
    QStringList files_;
    bool real_ = false;
    bool trace_ = qEnvironmentVariableIsSet("TELVANE_TRACE");
    DialogPrompts dialogs_;
    std::unique_ptr<DialogAnswerer> answerer_;
    QStringList saved_;
    TestFiles lang_;
    ScriptedPrompts prompts_;
    std::unique_ptr<Pty> pty_;
    std::unique_ptr<AppWindows> w_;
    int step_ = 0;
    QString last_;
    QMap<QString, int> done_;
    qsizetype messages_ = 0;
};

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    unsigned seed = std::random_device{}();
    int steps = 2000;
    bool real = false;
    QStringList corpora;
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], "--real-dialogs") == 0)
            real = true;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (std::strcmp(argv[i], "--real-dialogs") == 0)
            --i; // a flag without a value
        else if (std::strcmp(argv[i], "--seed") == 0)
            seed = static_cast<unsigned>(std::stoul(argv[i + 1]));
        else if (std::strcmp(argv[i], "--steps") == 0)
            steps = std::stoi(argv[i + 1]);
        else if (std::strcmp(argv[i], "--corpus") == 0)
            corpora << QString::fromLocal8Bit(argv[i + 1]);
    }
    // The run opens, and may save over, copies: the corpora themselves stay as they are.
    QTemporaryDir copies;
    QStringList files;
    for (const QString& dir : corpora)
        for (QDirIterator it(dir, QDir::Files, QDirIterator::Subdirectories); it.hasNext();) {
            const QString from = it.next();
            const QString to = copies.filePath(QStringLiteral("%1-").arg(files.size()) +
                                               QFileInfo(from).fileName());
            if (QFile::copy(from, to))
                files << to;
        }
    if (real) // the dialogs of Qt itself, never a platform's own
        QApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
    std::printf("random use%s: seed %u, %d steps, %lld files\n", real ? " (real dialogs)" : "",
                seed, steps, static_cast<long long>(files.size()));
    std::fflush(stdout);
    RandomUse use(seed, files, real);
    const QString failure = use.run(steps);
    use.summary();
    if (!failure.isEmpty()) {
        std::printf(
            "FAILED with seed %u at %s\nrepeat: telvane_random_use%s --seed %u --steps %d\n", seed,
            qPrintable(failure), real ? " --real-dialogs" : "", seed, steps);
        return 1;
    }
    std::printf("passed\n");
    return 0;
}
