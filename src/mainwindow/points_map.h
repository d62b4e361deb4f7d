// The points on show in the main window, drawn North up with their names (and, on request, their
// codes). Clicking a point selects its row in the table.
#pragma once

#include "model/records.h"

#include <QWidget>

#include <vector>

class QCheckBox;
class QLabel;
class QPushButton;

namespace telvane {

class PlotView;
class UiText;

class TFormPointsMap : public QWidget {
    Q_OBJECT
public:
    TFormPointsMap(const UiText& texts, QWidget* parent = nullptr);

    void SetPoints(std::vector<coord_item> points);
    void ApplyTexts();

    PlotView* MapView;
    QCheckBox* ShowCodes;
    QPushButton* BtnFit;
    QPushButton* BtnSave;
    QLabel* LblReadout;

signals:
    void PointClicked(int index);
    void SaveRequested();

private:
    void redraw();
    const UiText& texts_;
    std::vector<coord_item> points_;
};

} // namespace telvane
