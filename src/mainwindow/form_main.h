// The main window: serial port and its selectors, the current data, the views, the commands and
// the status bar. Created once at start; it creates the language table.
#pragma once

#include "data_table_model.h"
#include "document/document.h"
#include "fileio/dataview.h"
#include "link/capture.h"
#include "link/link.h"
#include "model/textlines.h"
#include "serial/comcombobox.h"
#include "serial/comport.h"
#include "texts/language.h"
#include "ui/prompts.h"
#include "ui/ui_text.h"

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

class TForm2;
class TFormPointsMap;
namespace road {
class TFormRoadCalculate;
}

// Where the program finds its files: the folder of the language files (the executable's folder)
// and the INI file.
struct AppPaths {
    QString directory;
    QString iniPath;
    // Where receives keep their capture files; empty: the user's data folder.
    QString captureDir = {};
};

class TForm1;
// The window's document, for tests that build a state the commands reach only in many steps.
Document& EditDocument(TForm1& form);

class TForm1 : public QMainWindow {
    Q_OBJECT
public:
    // Builds the window and runs its start-up (FormCreate). Throws LanguageFileError when the
    // language table cannot be loaded.
    TForm1(AppPaths paths, Prompts& prompts, QWidget* parent = nullptr);
    ~TForm1() override;

    // The settings dialog, created right after this window.
    void SetSettingsDialog(TForm2* dialog);
    // The road window, created right after the settings dialog.
    void SetRoadWindow(road::TFormRoadCalculate* window);
    // The road window was left with Exit.
    void RoadWindowExited();

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
    // The help gives way to the data view.
    void leave_help();
    void SettingBtnClick();
    void RoadCalcBtnClick();
    // The points on show drawn North up.
    void MapBtnClick();
    void ExitBtnClick();
    void vLanguageChange(int index);
    void SettingsClosed();
    void ButtonMouseMove(QPushButton* button, const QPoint& at);

    // Rebuilds the view for the kind of data on show and empties it; fills it from the lists.
    void InitDataShowView();
    void RefleshDataShowView();

    // Opens a file as the Open command does after its dialog (also for a dropped file). True
    // when the file was read and the view rebuilt.
    bool OpenFile(const QString& path);
    // The settings the file commands and the views use.
    FileSettings Settings() const;
    // Copies the selected cells (tab-separated rows) or the selected text.
    void CopySelection();
    // Pastes tab- or comma-separated rows at the current cell of the editing page.
    void PasteCells(const QString& text);

    // Transfers: the commands, the port's received bytes and the time-out forward to the link.
    void ReceiveBtnClick();
    void SendBtnClick();
    void StopBtnClick();
    void ComPort1RxChar(int count);
    void Timer1Timer();
    // 0 idle, 1 receiving, 2 sending.
    int LinkMode() const { return Link1.mode(); }
    // The capture file of the last receive (empty when none could be made).
    QString CaptureFileName() const;

    void CoordBtnClick();
    void CodeBtnClick();
    void OpenBtnClick();
    void SaveBtnClick();
    void AppendBtnClick();
    void InsertBtnClick();
    void DelBtnClick();
    void OKBtnClick();
    // Undo and redo of the last change of the data (Ctrl+Z, Ctrl+Y or Ctrl+Shift+Z).
    void UndoBtnClick();
    void RedoBtnClick();
    void ComPort1LineError(int code, const QString& text);

    // The document: the data on show, the editing page's table, the undo history.
    const Document& Doc() const { return doc_; }
    const DataState& data() const { return doc_.data(); }
    // The help is on show in place of the data.
    bool HelpShown() const { return help_shown_; }
    // The key of the save dialog's type list for the view on show (set as the view is built).
    std::string_view SaveFilter = "SAVE_JOB_FILTER";

    TComPort ComPort1;
    QTimer Timer1;

private:
    class LinkAdapter; // the link's view of this window: port, timer, status bar
    std::unique_ptr<LinkAdapter> link_host_;

public:
    Link Link1;

    // Controls.
    QTableView* StrGrid;
    DataTableModel* StrGridModel;
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
    QPushButton* MapBtn;
    TFormPointsMap* PointsMap = nullptr;
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
    // Undo and redo, on the first page and on the editing page.
    QPushButton* UndoBtn;
    QPushButton* RedoBtn;
    QPushButton* UndoBtn2;
    QPushButton* RedoBtn2;
    QStatusBar* StatusBar1;

signals:
    // The window was closed: the program ends.
    void Closed();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    friend Document& EditDocument(TForm1& form);
    void build_layout();
    void connect_commands();
    void show_help();
    // Open may replace the data on show: it is saved, or the user agreed to lose it.
    bool may_replace_data();
    void update_title();
    // A cell's text was refused; the message, then the cell's editor again.
    void cell_refused(const QString& key, int row, int column);
    // The view of the document as it stands (the data, or the editing page), and the enabled
    // state of every command, which the document decides.
    void show_document();
    void apply_command_states();
    // The question of a command, asked; true when there is none or it was confirmed.
    bool confirm(Question q);
    // The editing page's rows changed: the view, with the current row at `current`.
    void grid_rows_changed(std::size_t current);
    void link_ended(LinkEnd how);
    void link_received(const Lines& lines);
    QString capture_folder() const;
    void show_messages(const Messages& messages);
    void show_total(std::size_t count);
    void set_view_text(QString text);
    // The points the map shows for the data on show.
    void update_map();
    void set_column_widths();
    std::size_t selected_row() const;
    // Save of the list on show through the type list of `filter_key`.
    void save_list(std::string_view filter_key);
    // Save of the text view's lines as they stand (the help).
    void save_view_text();
    // The chosen name with its type's extension; nothing when the user cancelled or declined
    // to replace an existing file.
    std::optional<FileChoice> choose_save_file(const QString& type_list);
    bool write_bytes(const QString& path, const std::string& bytes);
    // Runs a command inside the guard (an exception ends it with a message box).
    void run(void (TForm1::*command)());

    AppPaths paths_;
    Prompts& prompts_;
    std::unique_ptr<TLanguage> language_;
    std::unique_ptr<UiText> texts_;
    QPointer<TForm2> settings_;
    QPointer<road::TFormRoadCalculate> road_;
    CaptureFile capture_;
    QLabel* panels_[3] = {};
    bool closed_ = false;
    Document doc_;
    bool help_shown_ = true;
    QString current_file_; // the name of the file on show, for the caption
};

} // namespace telvane
