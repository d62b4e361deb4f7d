// The road stake-out window: the start point of the alignment, four tables (intersection points,
// line elements, grade points, stakes) and the commands that edit, load, save and calculate them.
// Created once at start; hidden and shown, never rebuilt, so the road survives Exit.
#pragma once

#include "entry_dialogs.h"
#include "fileio/datastate.h"
#include "road/check/road_check.h"
#include "road/design/road_data.h"
#include "road_table_model.h"

#include <QWidget>

#include <array>
#include <functional>
#include <optional>
#include <string>

class QDoubleSpinBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;
class QTableView;

namespace telvane {
class PlotView;
}

namespace telvane {
class Prompts;
class UiText;
} // namespace telvane

namespace telvane::road {

// The tab that shows `list`: the four lists are the window's first four pages, in order.
int PageIndex(RoadList list);

class TFormRoadCalculate : public QWidget {
    Q_OBJECT
public:
    TFormRoadCalculate(const UiText& texts, Prompts& prompts, QWidget* parent = nullptr);

    RoadData Data;

    // The page on show.
    RoadList ActivePage() const;
    // Road data changed since it was loaded or saved (asked about before the program closes).
    bool HasUnsavedChanges() const;

    void FormPaint(); // captions and table layouts in the language on show
    void BtnAppendClick();
    void BtnInsertClick();
    void BtnUpdateClick();
    void BtnDeleteClick();
    void BtnLoadClick();
    void BtnSaveClick();
    void BtnCalculateClick();
    void BtnClearClick();
    void BtnExitClick();
    // Undo and redo of the last change of the road data (Ctrl+Z, Ctrl+Y or Ctrl+Shift+Z).
    void BtnUndoClick();
    void BtnRedoClick();
    // A road design in LandXML: its alignment into the line elements and its profile into the
    // grade points; the design as last calculated, with its stakes, out.
    void BtnLoadLandXmlClick();
    void BtnSaveLandXmlClick();

    // The Check page: measured points against the design as last calculated.
    // Where the points on show in the main window come from (received points among them).
    void SetPointsOnShow(std::function<const DataState&()> points) { points_on_show_ = points; }
    // The INI file that keeps the check's tolerances.
    void SetIniPath(const QString& path) { ini_path_ = path; }
    // Checks the points of a file (any file Open reads as points, or a job's points).
    void BtnCheckFileClick();
    // Checks the points on show in the main window.
    void BtnCheckShownClick();
    void BtnCheckSaveClick();
    const std::vector<check::PointCheck>& Checks() const { return checks_; }

    QGroupBox* GroupBox1;
    QLabel *Label1, *Label2, *Label3, *Label4, *Label5;
    QLabel* LabelAzimuthUnit; // the unit of Edit4 (radians), beside it
    QLineEdit *Edit1, *Edit2, *Edit3, *Edit4, *Edit5;
    QPushButton *BtnExit, *BtnAppend, *BtnInsert, *BtnDelete, *BtnUpdate, *BtnLoad, *BtnSave,
        *BtnCalculate, *BtnClear, *BtnUndo, *BtnRedo, *BtnLoadLandXml, *BtnSaveLandXml;
    QTabWidget* PageControl1;
    QWidget *TabSheet1, *TabSheet2, *TabSheet3, *TabSheet4, *TabSheetCheck;
    QPushButton *BtnCheckFile, *BtnCheckShown, *BtnCheckSave;
    QLabel *LblTolerancePlan, *LblToleranceHeight, *LblArrowFactor;
    QDoubleSpinBox *EditTolerancePlan, *EditToleranceHeight, *EditArrowFactor;
    QTableView* SGCheck;
    QTableView *SGIntersection, *SGMainPile, *SGSlope, *SGPile;
    // The road in plan and in profile, redrawn after every calculation.
    QTabWidget* PicturePages;
    PlotView* PlanView;
    PlotView* ProfileView;
    QPushButton* BtnFitPicture;
    QPushButton* BtnSavePicture;
    QLabel* LblReadout;

    // Draws the plan and the profile of the road as last calculated.
    void UpdatePictures();
    void BtnSavePictureClick();

signals:
    // Exit: the main window comes back.
    void Exited();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void run(void (TFormRoadCalculate::*command)());
    QTableView* table(RoadList page) const;
    RoadTableModel* model(RoadList page) const;
    void refill(RoadList page);
    void refill_all();
    // The selected record of the page (0 when nothing is selected).
    std::size_t selected(RoadList page) const;
    // The entry form of `page` with `shown`; the record submitted.
    std::optional<RoadRecord> enter(RoadList page, const EntryTexts& shown);
    // Append (at the end) and Insert (at the selected row).
    void add(bool at_end);
    // The start boxes as typed.
    StartPoint start_point() const;
    // The file a save writes: the chosen name with `extension` added when it has none; nothing
    // when it exists and the user does not want it replaced.
    std::optional<QString> name_to_write(QString chosen, const QString& extension) const;
    void show_message(const RoadMessage& message);
    // The enabled states of Undo and Redo, and of the list commands (not on the Check page).
    void update_history_buttons();
    bool on_check_page() const;
    // Checks `points`, shows the report and the picture of it.
    void check_points(std::vector<check::MeasuredPoint> points);
    // The check's plan with its arrows, when there is a check.
    void update_check_picture();
    void keep_tolerances();

    const UiText& texts_;
    Prompts& prompts_;
    std::array<RoadTableModel*, 4> models_{};
    std::function<const DataState&()> points_on_show_;
    QString ini_path_;
    std::vector<check::PointCheck> checks_;
    class CheckTableModel* check_model_ = nullptr;
};

} // namespace telvane::road
