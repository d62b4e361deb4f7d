// The settings dialog, the texts for the windows, the confirmation dialog, the message seam and
// the guard, on the offscreen platform.
#include "model/numtext.h"
#include "scripted_prompts.h"
#include "settings/form_setting.h"
#include "settings/ini_location.h"
#include "test_files.h"
#include "ui/codec.h"
#include "ui/dialog_prompts.h"
#include "ui/form_message.h"
#include "ui/guard.h"
#include "ui/ui_text.h"

#include <QComboBox>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <memory>

using namespace telvane;

namespace {

// A language table, the seam and the texts over them, as the main window would hold them.
struct Texts {
    TestFiles files;
    ScriptedPrompts prompts;
    std::unique_ptr<TLanguage> language;
    std::unique_ptr<UiText> texts;

    explicit Texts(int language_index = 1) {
        files.write_language(all_window_keys());
        language = std::make_unique<TLanguage>(files.dir().toStdString());
        language->SelectLanguage(language_index);
        texts = std::make_unique<UiText>(*language, prompts);
    }
};

void leave(QWidget* w) {
    QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
    QApplication::sendEvent(w, &out);
}

void type_into(QLineEdit* edit, const QString& text) {
    edit->setText(text);
    leave(edit);
}

// Answers the next modal dialog with a click on `button` once it is up.
void click_when_shown(TFormMessage& dialog, QPushButton* button) {
    QTimer::singleShot(0, &dialog, [&dialog, button] {
        QTRY_VERIFY(dialog.isVisible());
        button->click();
    });
}

class Thrower : public QObject {
public:
    bool event(QEvent* e) override {
        if (e->type() == QEvent::User)
            throw ConversionError("1,5");
        return QObject::event(e);
    }
};

} // namespace

class TestSettings : public QObject {
    Q_OBJECT
private slots:
    void loadAppliesFallbacks_data() {
        QTest::addColumn<QByteArray>("ini");
        QTest::addColumn<QList<int>>("indexes"); // angle, distance, K, coordinate order
        QTest::addColumn<QString>("grid");
        QTest::newRow("no file") << QByteArray() << QList<int>{0, 0, 0, 0} << "1.00";
        QTest::newRow("all stored") << QByteArray("[Setting]\nAngleUnit=2\nLengthUnit=1\nKOption="
                                                  "2\nGridScale=0.95\nCoordOrder=1\n")
                                    << QList<int>{2, 1, 2, 1} << "0.95";
        QTest::newRow("grid too big")
            << QByteArray("[Setting]\nGridScale=1.2\n") << QList<int>{0, 0, 0, 0} << "1.00";
        QTest::newRow("grid limits")
            << QByteArray("[Setting]\nGridScale=1.1\n") << QList<int>{0, 0, 0, 0} << "1.10";
        QTest::newRow("grid unreadable")
            << QByteArray("[Setting]\nGridScale=1,0\n") << QList<int>{0, 0, 0, 0} << "1.00";
        QTest::newRow("out of range")
            << QByteArray("[Setting]\nAngleUnit=5\nLengthUnit=-1\nKOption=3\nCoordOrder=2\n")
            << QList<int>{0, 0, 0, 0} << "1.00";
        QTest::newRow("empty unit entry stored")
            << QByteArray("[Setting]\nAngleUnit=3\nLengthUnit=3\n") << QList<int>{0, 0, 0, 0}
            << "1.00";
        QTest::newRow("other section")
            << QByteArray("[Form]\nAngleUnit=2\n") << QList<int>{0, 0, 0, 0} << "1.00";
    }
    void loadAppliesFallbacks() {
        QFETCH(QByteArray, ini);
        QFETCH(QList<int>, indexes);
        QFETCH(QString, grid);
        Texts t;
        if (!ini.isEmpty())
            t.files.write_ini(ini);
        TForm2 dialog(*t.texts, t.files.ini());
        QCOMPARE(dialog.AngUnitCBB->currentIndex(), indexes[0]);
        QCOMPARE(dialog.DistUnitCBB->currentIndex(), indexes[1]);
        QCOMPARE(dialog.KOptionCBB->currentIndex(), indexes[2]);
        QCOMPARE(dialog.CoordOrderCBB->currentIndex(), indexes[3]);
        QCOMPARE(dialog.GridScaleEdit->text(), grid);
        QVERIFY(t.prompts.messages.isEmpty());
        QCOMPARE(t.files.read_ini(), ini); // loading writes nothing
    }

    void captionsAndListsComeFromTheTexts() {
        Texts t(0);
        TForm2 dialog(*t.texts, t.files.ini());
        QCOMPARE(dialog.windowTitle(), zh("settingbtn"));
        const std::pair<QLabel*, const char*> labels[] = {{dialog.AngUnitLAB, "AngUnitLab"},
                                                          {dialog.DistUnitLAB, "DistUnitLab"},
                                                          {dialog.TwoDiffLAB, "TwoDiffLab"},
                                                          {dialog.GridScaleLAB, "GridScaleLab"},
                                                          {dialog.CoordOrderLAB, "CoordOrderLab"}};
        for (auto [l, key] : labels)
            QCOMPARE(l->text(), zh(key));
        QCOMPARE(dialog.Reset->text(), zh("resetbtn"));
        QCOMPARE(dialog.Confirm->text(), zh("confirmbtn"));
        QCOMPARE(dialog.AngUnitCBB->count(), 4);
        QCOMPARE(dialog.AngUnitCBB->itemText(3), zh("ANGLE_UNIT_NULL"));
        QCOMPARE(dialog.DistUnitCBB->itemText(1), zh("DIST_UNIT_US-Ft"));
        QCOMPARE(dialog.KOptionCBB->itemText(1), QString("0.14")); // never replaced
        QCOMPARE(dialog.CoordOrderCBB->itemText(1), QString("ENZ"));

        // Switching the language shows in the dialog when it is next shown.
        t.language->SelectLanguage(1);
        dialog.show();
        QCOMPARE(dialog.windowTitle(), en("settingbtn"));
        QCOMPARE(dialog.AngUnitCBB->itemText(0), en("ANGLE_UNIT_DMS"));
    }

    void unitCodesAndValues() {
        Texts t;
        TForm2 dialog(*t.texts, t.files.ini());
        // The values the program uses are the confirmed ones: a list changed and not confirmed
        // changes nothing.
        const int expected[] = {0, 1, 2, 3, 0}; // no selection, the three units, the empty entry
        for (int index = -1; index <= 3; ++index) {
            dialog.show();
            dialog.AngUnitCBB->setCurrentIndex(index);
            dialog.DistUnitCBB->setCurrentIndex(index);
            QCOMPARE(dialog.angle_unit_code(), 1);
            dialog.ConfirmClick();
            QCOMPARE(dialog.angle_unit_code(), expected[index + 1]);
            QCOMPARE(dialog.distance_unit_code(), expected[index + 1]);
            dialog.Reset->click();
            dialog.ConfirmClick();
        }
        const double k[] = {0.0, 0.14, 0.20};
        for (int i = 0; i < 3; ++i) {
            dialog.show();
            dialog.KOptionCBB->setCurrentIndex(i);
            dialog.ConfirmClick();
            QCOMPARE(dialog.k_option(), k[i]);
        }
        dialog.show();
        dialog.CoordOrderCBB->setCurrentIndex(1);
        QCOMPARE(dialog.coord_order(), 0);
        dialog.ConfirmClick();
        QCOMPARE(dialog.coord_order(), 1);
        QCOMPARE(dialog.grid_scale(), 1.0);
    }

    void gridScaleIsCheckedOnLeaving() {
        Texts t;
        t.files.write_ini("[Setting]\nGridScale=0.95\n");
        TForm2 dialog(*t.texts, t.files.ini());
        struct Step {
            const char* typed;
            const char* shown;
            bool refused;
        };
        const Step steps[] = {
            {"1.5", "0.95", true},           {"1.1", "1.10", false},
            {"abc", "1.10", true},           {"", "1.10", true},
            {"0.899", "1.10", true},         {"0.9", "0.90", false},
            {"1.005", "1.005", false},       {"1e999", "1.005", true},
            {" 1.02 ", "1.02", false},       {"0.9996", "0.9996", false},
            {"1.000234", "1.000234", false}, {"1.0000000001", "1.00", false},
        };
        for (const auto& s : steps) {
            t.prompts.messages.clear();
            type_into(dialog.GridScaleEdit, QString::fromLatin1(s.typed));
            QCOMPARE(dialog.GridScaleEdit->text(), QString::fromLatin1(s.shown));
            QCOMPARE(t.prompts.messages,
                     s.refused ? QStringList{en("input_wrong_data")} : QStringList{});
        }
    }

    void resetChangesControlsNotTheFile() {
        Texts t;
        const QByteArray stored = "[Setting]\r\nAngleUnit=1\r\nLengthUnit=2\r\nKOption="
                                  "1\r\nGridScale=1.05\r\nCoordOrder=1\r\n";
        t.files.write_ini(stored);
        TForm2 dialog(*t.texts, t.files.ini());
        dialog.show();
        dialog.Reset->click();
        for (QComboBox* c :
             {dialog.AngUnitCBB, dialog.DistUnitCBB, dialog.KOptionCBB, dialog.CoordOrderCBB})
            QCOMPARE(c->currentIndex(), 0);
        QCOMPARE(dialog.GridScaleEdit->text(), QString("1.00"));

        QSignalSpy closed(&dialog, &TForm2::Closed);
        dialog.close();
        QCOMPARE(closed.size(), 1);
        QCOMPARE(t.files.read_ini(), stored);
        // The reset was not confirmed: the others still see the stored values ...
        QCOMPARE(dialog.angle_unit_code(), 2);
        QCOMPARE(dialog.grid_scale(), 1.05);
        // ... and showing it reloads the file.
        dialog.show();
        QCOMPARE(dialog.AngUnitCBB->currentIndex(), 1);
        QCOMPARE(dialog.DistUnitCBB->currentIndex(), 2);
        QCOMPARE(dialog.GridScaleEdit->text(), QString("1.05"));
    }

    void confirmWritesClosesAndReportsTheUnits() {
        Texts t;
        t.files.write_ini("; kept\r\n[Form]\r\nLanguage=1\r\n");
        TForm2 dialog(*t.texts, t.files.ini());
        dialog.show();
        dialog.AngUnitCBB->setCurrentIndex(1);
        dialog.DistUnitCBB->setCurrentIndex(2);
        dialog.KOptionCBB->setCurrentIndex(2);
        dialog.CoordOrderCBB->setCurrentIndex(1);
        dialog.GridScaleEdit->setText("0.95");
        QSignalSpy closed(&dialog, &TForm2::Closed);
        QSignalSpy units(&dialog, &TForm2::UnitsConfirmed);
        dialog.Confirm->click();
        QVERIFY(!dialog.isVisible());
        QCOMPARE(closed.size(), 1);
        QCOMPARE(units.size(), 1);
        QCOMPARE(units.front().front().toString(),
                 en("hint_settingbtn") + en("ANGLE_UNIT_GOM") + ", " + en("DIST_UNIT_INT-Ft"));
        QCOMPARE(
            t.files.read_ini(),
            QByteArray(
                "; kept\r\n[Form]\r\nLanguage=1\r\n[Setting]\r\nAngleUnit=1\r\nLengthUnit=2\r\n"
                "KOption=2\r\nGridScale=0.95\r\nCoordOrder=1\r\n"));

        // The empty fourth entries are saved as 3 and load back as the first entry.
        dialog.show();
        dialog.AngUnitCBB->setCurrentIndex(3);
        dialog.DistUnitCBB->setCurrentIndex(3);
        dialog.Confirm->click();
        QCOMPARE(units.back().front().toString(),
                 en("hint_settingbtn") + en("ANGLE_UNIT_NULL") + ", " + en("DIST_UNIT_NULL"));
        QVERIFY(t.files.read_ini().contains("AngleUnit=3\r\nLengthUnit=3\r\n"));
        dialog.show();
        QCOMPARE(dialog.AngUnitCBB->currentIndex(), 0);
        QCOMPARE(dialog.angle_unit_code(), 1);
    }

    void confirmWithAWrongGridScaleStaysOpen() {
        Texts t;
        TForm2 dialog(*t.texts, t.files.ini());
        dialog.show();
        dialog.GridScaleEdit->setText("2");
        dialog.Confirm->click();
        QVERIFY(dialog.isVisible());
        QCOMPARE(dialog.GridScaleEdit->text(), QString("1.00"));
        QCOMPARE(t.prompts.messages, QStringList{en("input_wrong_data")});
        QVERIFY(t.files.read_ini().isEmpty());
    }

    void textShapes() {
        Texts t;
        QCOMPARE(t.texts->title(), en("app_title") + " v1.6");
        QCOMPARE(t.texts->text("no_such_key"), QString());
        QCOMPARE(t.texts->filter("SAVE_JOB_FILTER"), en("SAVE_JOB_FILTER"));
        t.texts->message("no_comport");
        QCOMPARE(t.prompts.messages, QStringList{en("no_comport")});

        t.prompts.answers = {1, 2};
        QCOMPARE(t.texts->if_change_record_mode(), 1);
        // A file that is there is replaced only when the user confirms; one that is not, always.
        const QString there = t.files.dir() + "/there.txt";
        t.files.write("there.txt", "x");
        QCOMPARE(t.texts->may_write(there), false);
        QCOMPARE(t.prompts.questions.size(), 2);
        QCOMPARE(t.prompts.questions[0].title, en("if_change_record_mode_title"));
        QCOMPARE(t.prompts.questions[0].text, en("if_change_record_mode_desc"));
        QCOMPARE(t.prompts.questions[1].text, en("if_overwrite_desc"));
        t.prompts.answers = {1};
        QVERIFY(t.texts->may_write(there));
        QVERIFY(t.texts->may_write(t.files.dir() + "/not-there.txt"));
        QCOMPARE(t.prompts.questions.size(), 3);
        QCOMPARE(t.prompts.unanswered, 0);
    }

    void confirmationDialog() {
        Texts t;
        TFormMessage dialog(*t.texts);
        QCOMPARE(dialog.size(), QSize(302, 154));
        click_when_shown(dialog, dialog.Button1);
        QCOMPARE(dialog.Ask(en("if_overwrite_title"), en("if_overwrite_desc")), 1);
        QCOMPARE(dialog.windowTitle(), en("if_overwrite_title"));
        QCOMPARE(dialog.Label1->text(), en("if_overwrite_desc"));
        QCOMPARE(dialog.Button1->text(), en("confirmbtn"));
        QCOMPARE(dialog.Button2->text(), en("cancelbtn"));

        click_when_shown(dialog, dialog.Button2);
        QCOMPARE(dialog.Ask("t", "x"), 2);
        QTimer::singleShot(0, &dialog, [&dialog] {
            QTRY_VERIFY(dialog.isVisible());
            dialog.reject(); // Escape or the window closed
        });
        QCOMPARE(dialog.Ask("t", "x"), 2);

        // The application's seam reaches it; before it exists nothing is confirmed.
        DialogPrompts real;
        QCOMPARE(real.ask("t", "x"), 2);
        real.setConfirmationDialog(&dialog);
        click_when_shown(dialog, dialog.Button1);
        QCOMPARE(real.ask("t", "x"), 1);
    }

    void typeListsForTheFileDialogs() {
        QCOMPARE(
            name_filters_from_type_list(
                "Points|*.csv|DXF drawing (*.dxf)|*.dxf|Binary|*.coo;*.pts; *.cor"),
            (QStringList{"Points (*.csv)", "DXF drawing (*.dxf)", "Binary (*.coo *.pts *.cor)"}));
        QCOMPARE(name_filters_from_type_list("*.txt|*.txt"), (QStringList{"*.txt (*.txt)"}));
        QCOMPARE(name_filters_from_type_list("|*.a|no patterns||odd"), (QStringList{"*.a (*.a)"}));
        QCOMPARE(name_filters_from_type_list(""), QStringList{});
    }

    void codec() {
        const QString text = QStringLiteral("打开 Open 点名");
        const std::string bytes = toGbk(text);
        QCOMPARE(bytes.substr(0, 4), std::string("\xb4\xf2\xbf\xaa"));
        QCOMPARE(fromGbk(bytes), text);
        // Half a character at the end does not spoil the next text.
        (void)fromGbk(bytes.substr(0, 3));
        QCOMPARE(fromGbk("\xb5\xe3"), QStringLiteral("点"));
    }

    void guardTurnsExceptionsIntoMessages() {
        ScriptedPrompts prompts;
        int data = 1;
        QVERIFY(!guarded(prompts, [&] {
            const double v = parse_double("1,5"); // throws before anything changes
            data = static_cast<int>(v);
        }));
        QCOMPARE(data, 1);
        QCOMPARE(prompts.messages.size(), 1);
        QVERIFY(prompts.messages.front().contains("1,5"));
        QVERIFY(guarded(prompts, [&] { data = 2; }));
        QCOMPARE(data, 2);
        QVERIFY(!guarded(prompts, [] { throw 42; }));
        QCOMPARE(prompts.messages.back(), QString("Unknown error"));

        // An exception that escapes an event handler ends at the application's box.
        auto* app = static_cast<GuardedApplication*>(QCoreApplication::instance());
        app->setPrompts(&prompts);
        Thrower thrower;
        QEvent event(QEvent::User);
        QCoreApplication::sendEvent(&thrower, &event);
        app->setPrompts(nullptr);
        QCOMPARE(prompts.messages.size(), 3);
        QVERIFY(prompts.messages.back().contains("1,5"));
    }

    void iniLocation() {
        QCOMPARE(ini_path_beside("/opt/telvane/bin/telvane"),
                 QString("/opt/telvane/bin/telvane.INI"));
        QCOMPARE(ini_path_beside("/opt/telvane/bin/telvane.exe"),
                 QString("/opt/telvane/bin/telvane.INI"));
        TestFiles files;
        const QString beside = files.dir() + "/telvane.INI";
        QCOMPARE(resolve_ini_path(beside, files.dir() + "/config"), beside);
        QVERIFY(!QFile::exists(beside)); // the check leaves nothing behind
        files.write_ini("[Form]\n");
        QCOMPARE(resolve_ini_path(beside, files.dir() + "/config"), beside);
        QCOMPARE(files.read_ini(), QByteArray("[Form]\n"));

        // A folder where nothing can be written (even by root): the user's configuration folder.
        const QString config = files.dir() + "/config/TORVIK/telvane";
        QCOMPARE(resolve_ini_path("/proc/telvane.INI", config), config + "/telvane.INI");
        QVERIFY(QDir(config).exists());
    }
};

int main(int argc, char** argv) {
    GuardedApplication app(argc, argv);
    TestSettings test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_settings.moc"
