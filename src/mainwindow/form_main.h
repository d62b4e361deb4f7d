// The main window: serial port and its selectors, the current data, the views, the commands and
// the status bar. Created once at start; it creates the language table.
#pragma once

#include "model/records.h"
#include "model/textlines.h"
#include "serial/comcombobox.h"
#include "serial/comport.h"
#include "ui/ui_text.h"
#include "texts/language.h"

#include <QMainWindow>
#include <QPointer>
#include <QString>
#include <QTimer>

#include <memory>
#include <string>
#include <vector>

class QComboBox;
class QGroupBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QStackedWidget;
class QStatusBar;
class QTableView;

namespace telvane {

class Prompts;
class TForm2;

// Where the program finds its files: the folder of the language files (the executable's folder)
// and the INI file.
struct AppPaths {
    QString directory;
    QString iniPath;
};

// Data kinds the window shows.
enum DataKindValue : int {
    kKindRecords = 1,
    kKindCoords = 2,
    kKindCodes = 3,
    kKindCoords3 = 4,
    kKindIntersections = 5,
    kKindMainPiles = 6,
    kKindSlopes = 7,
    kKindPiles = 8,
};

class TForm1 : public QMainWindow {
    Q_OBJECT
public:
    // Builds the window and runs its start-up (FormCreate). Throws LanguageFileError when the
    // language table cannot be loaded.
    TForm1(AppPaths paths, Prompts& prompts, QWidget* parent = nullptr);
    ~TForm1() override;

    // The settings dialog, created right after this window.
    void SetSettingsDialog(TForm2* dialog);

    const UiText& texts() const { return *texts_; }
    TLanguage& language() { return *language_; }
    const AppPaths& paths() const { return paths_; }

    QString StatusPanel(int index) const;
    void SetStatusPanel(int index, const QString& text);

    // Commands and events of this window.
    void FormCreate();
    void FormPaint(); // the help comes back while it is on show
    void FormClose();
    void ApplyTexts();
    void HelpBtnClick();
    void SettingBtnClick();
    void RoadCalcBtnClick();
    void ExitBtnClick();
    void vLanguageChange(int index);
    void SettingsClosed();
    void ButtonMouseMove(QPushButton* button, const QPoint& at);

    // Rebuilds the view for DataKind and empties it; fills it from the lists.
    void InitDataShowView();
    void RefleshDataShowView();

    // Commands not built yet: each says so in the message box and changes nothing.
    void ReceiveBtnClick();
    void SendBtnClick();
    void StopBtnClick();
    void CoordBtnClick();
    void CodeBtnClick();
    void OpenBtnClick();
    void SaveBtnClick();
    void AppendBtnClick();
    void InsertBtnClick();
    void DelBtnClick();
    void OKBtnClick();
    void ComPort1LineError(int code, const QString& text);

    // The current data.
    std::vector<record_item> RecordList;
    std::vector<coord_item> CoordList;
    std::vector<code_item> CodeList;
    std::vector<coord3_item> Coord3List;
    std::vector<std::vector<std::string>> RoadRows;
    std::string JobName;
    std::string InstName;
    int DataKind = kKindRecords;
    int LinkMode = 0;
    std::string RxBuffer;
    int LineCounter = 0;
    bool DataReceived = false;
    bool Modified = false;
    bool HelpShown = true;
    Lines Memo1;        // hidden: transfer and save buffer
    QString SaveFilter; // the save dialog's type list for the view on show

    TComPort ComPort1;
    QTimer Timer1;

    // Controls.
    QTableView* StrGrid;
    QPlainTextEdit* MeasText;
    QStackedWidget* PageControl1;
    QGroupBox* ComportSettingGroup;
    QLabel* Label11;
    QLabel* Label12;
    TComComboBox* ComComboBox7;
    TComComboBox* ComComboBox8;
    QGroupBox* TransControlGroup;
    QPushButton* ReceiveBtn;
    QPushButton* SendBtn;
    QPushButton* StopBtn;
    QGroupBox* FileControlGroup;
    QPushButton* CoordBtn;
    QPushButton* CodeBtn;
    QPushButton* RoadCalcBtn;
    QPushButton* OpenBtn;
    QPushButton* SaveBtn;
    QPushButton* SettingBtn;
    QPushButton* HelpBtn;
    QLabel* LblLanguage;
    QComboBox* vLanguage;
    QPushButton* ExitBtn;
    QLabel* Image1;
    QPushButton* AppendBtn;
    QPushButton* InsertBtn;
    QPushButton* DelBtn;
    QPushButton* OKBtn;
    QStatusBar* StatusBar1;

signals:
    // The window was closed: the program ends.
    void Closed();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void build_layout();
    void connect_commands();
    void show_help();
    void not_available_yet();
    // Runs a command inside the guard (an exception ends it with a message box).
    void run(void (TForm1::*command)());

    AppPaths paths_;
    Prompts& prompts_;
    std::unique_ptr<TLanguage> language_;
    std::unique_ptr<UiText> texts_;
    QPointer<TForm2> settings_;
    QLabel* panels_[3] = {};
    bool closed_ = false;
};

} // namespace telvane
