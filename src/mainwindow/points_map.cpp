#include "points_map.h"

#include "plot/picture.h"
#include "ui/plot_view.h"
#include "ui/ui_text.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace telvane {

TFormPointsMap::TFormPointsMap(const UiText& texts, QWidget* parent)
    : QWidget(parent, Qt::Window), texts_(texts) {
    setObjectName("TFormPointsMap");
    resize(800, 600);
    auto* layout = new QVBoxLayout(this);
    MapView = new PlotView(this);
    MapView->setObjectName("MapView");
    layout->addWidget(MapView, 1);
    auto* row = new QHBoxLayout;
    ShowCodes = new QCheckBox(this);
    ShowCodes->setObjectName("ShowCodes");
    BtnFit = new QPushButton(this);
    BtnFit->setObjectName("BtnFit");
    BtnSave = new QPushButton(this);
    BtnSave->setObjectName("BtnSave");
    LblReadout = new QLabel(this);
    LblReadout->setObjectName("LblReadout");
    LblReadout->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    row->addWidget(ShowCodes);
    row->addWidget(BtnFit);
    row->addWidget(BtnSave);
    row->addWidget(LblReadout, 1);
    layout->addLayout(row);
    connect(ShowCodes, &QCheckBox::toggled, this, [this] { redraw(); });
    connect(BtnFit, &QPushButton::clicked, MapView, &PlotView::Fit);
    connect(BtnSave, &QPushButton::clicked, this, &TFormPointsMap::SaveRequested);
    connect(MapView, &PlotView::ReadoutChanged, LblReadout, &QLabel::setText);
    connect(MapView, &PlotView::MarkClicked, this, &TFormPointsMap::PointClicked);
}

void TFormPointsMap::ApplyTexts() {
    setWindowTitle(texts_.text("map_window"));
    ShowCodes->setText(texts_.text("picture_codes"));
    BtnFit->setText(texts_.text("picture_fit"));
    BtnSave->setText(texts_.text("picture_save"));
    MapView->north_text = texts_.text("strgrid_N");
    MapView->east_text = texts_.text("strgrid_E");
}

void TFormPointsMap::SetPoints(std::vector<coord_item> points) {
    points_ = std::move(points);
    redraw();
}

void TFormPointsMap::redraw() {
    MapView->SetPicture(plot::points_map(points_, ShowCodes->isChecked()));
}

} // namespace telvane
