#include "entry_dialogs.h"

#include "model/numtext.h"
#include "model/textlines.h"
#include "road/design/road_files.h"
#include "ui/codec.h"
#include "ui/ui_text.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

#include <algorithm>
#include <string_view>
#include <utility>

namespace telvane::road {

EntryDialog::EntryDialog(const UiText& texts, const char* name, QWidget* parent)
    : QDialog(parent), texts_(texts) {
    setObjectName(QLatin1String(name));
    setModal(true);
    auto* layout = new QVBoxLayout(this);
    grid_ = new QGridLayout;
    grid_->setHorizontalSpacing(10);
    layout->addLayout(grid_);
    auto* buttons = new QHBoxLayout;
    Button1 = new QPushButton(this);
    Button1->setObjectName("Button1");
    Button1->setDefault(true);
    Button2 = new QPushButton(this);
    Button2->setObjectName("Button2");
    buttons->addStretch(1);
    buttons->addWidget(Button1);
    buttons->addWidget(Button2);
    layout->addLayout(buttons);
    connect(Button1, &QPushButton::clicked, this, &EntryDialog::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &QDialog::reject); // Escape does the same
}

QLineEdit* EntryDialog::add_box(const char* name, QLabel*& label, std::string_view key,
                                std::string_view key2, const char* suffix) {
    auto* box = new QLineEdit(this);
    box->setObjectName(QLatin1String(name));
    label = new QLabel(this);
    label->setObjectName(QStringLiteral("Label%1").arg(boxes_.size() + 1));
    label->setBuddy(box);
    // Three pairs to a row, as the boxes of the designs stand.
    const int at = static_cast<int>(boxes_.size());
    grid_->addWidget(label, at / 3, (at % 3) * 2);
    grid_->addWidget(box, at / 3, (at % 3) * 2 + 1);
    boxes_.push_back({label, box, key, key2, suffix});
    return box;
}

QComboBox* EntryDialog::add_list(const char* name, QLabel*& label, std::string_view key) {
    auto* list = new QComboBox(this);
    list->setObjectName(QLatin1String(name));
    label = new QLabel(this);
    label->setObjectName(QStringLiteral("Label%1").arg(boxes_.size() + 1));
    label->setBuddy(list);
    const int at = static_cast<int>(boxes_.size());
    grid_->addWidget(label, at / 3, (at % 3) * 2);
    grid_->addWidget(list, at / 3, (at % 3) * 2 + 1);
    boxes_.push_back({label, list, key, {}, ""});
    return list;
}

void EntryDialog::apply_texts() {
    for (const Labelled& b : boxes_) {
        QString text = texts_.text(b.key);
        if (!b.key2.empty())
            text += texts_.text(b.key2);
        b.label->setText(text + QLatin1String(b.suffix));
    }
    // The caption names what is entered; the object name stays the design's.
    static constexpr std::pair<std::string_view, std::string_view> kTitles[] = {
        {"FormIntersectionInport", "dlg_title_intersection"},
        {"FormMainPileInport", "dlg_title_element"},
        {"FormlongSlopesInport", "dlg_title_grade"},
        {"FormPileInport", "dlg_title_stake"},
    };
    for (const auto& [name, key] : kTitles)
        if (objectName() == QLatin1String(name.data(), static_cast<qsizetype>(name.size())))
            setWindowTitle(texts_.text(key));
    Button1->setText(texts_.text("confirmbtn"));
    Button2->setText(texts_.text("cancelbtn"));
}

void EntryDialog::showEvent(QShowEvent* event) {
    if (!event->spontaneous()) {
        if (EntryMode == 1)
            for (const Labelled& b : boxes_)
                if (auto* edit = qobject_cast<QLineEdit*>(b.box))
                    edit->clear();
        Prepare();
        apply_texts();
        if (!boxes_.empty())
            boxes_.front().box->setFocus();
    }
    QDialog::showEvent(event);
}

bool EntryDialog::Run() {
    return exec() == QDialog::Accepted;
}

void EntryDialog::Button1Click() {
    if (Submit())
        accept();
}

bool EntryDialog::all_filled(const std::vector<QWidget*>& required) const {
    for (QWidget* w : required) {
        const auto* edit = qobject_cast<QLineEdit*>(w);
        const auto* list = qobject_cast<QComboBox*>(w);
        const bool filled = edit ? !edit->text().isEmpty() : list && list->currentIndex() >= 0;
        if (!filled) {
            // Names the box by its label, as a box that is no number is named.
            QString label;
            for (const QLabel* l : findChildren<QLabel*>())
                if (l->buddy() == w)
                    label = l->text();
            if (label.isEmpty())
                texts_.message("data_empty");
            else
                texts_.prompts().message(texts_.text("input_empty") + label);
            w->setFocus();
            return false;
        }
    }
    return true;
}

std::optional<double> EntryDialog::number(QLineEdit* box, QLabel* label) const {
    double v = 0;
    if (try_parse_double(toGbk(box->text()), v))
        return v;
    // Names the box, and nothing of the pending record changes.
    texts_.prompts().message(texts_.text("input_not_number") + label->text());
    box->setFocus();
    box->selectAll();
    return std::nullopt;
}

QString number_text(double v) {
    return QString::fromStdString(FormatCell(v));
}

void TFormIntersectionInport::Show(const IntersectionPointInfo& p) {
    Edit1->setText(fromGbk(p.Name));
    Edit2->setText(number_text(p.North));
    Edit3->setText(number_text(p.East));
    Edit4->setText(number_text(p.Mileage));
    Edit5->setText(number_text(p.Radius));
    Edit6->setText(number_text(p.ClothoidLength1));
    Edit7->setText(number_text(p.ClothoidLength2));
}

void TFormMainPileInport::Show(const PlaneInfo& e) {
    FillLists();
    ComboBox1->setCurrentIndex(std::clamp(e.LineType, 0, 2));
    ComboBox2->setCurrentIndex(e.Direction == "L" ? 0 : e.Direction == "R" ? 1 : 2);
    Edit2->setText(number_text(e.StartRadius));
    Edit3->setText(number_text(e.EndRadius));
    Edit4->setText(number_text(e.Length));
    Edit1->setText(number_text(e.North));
    Edit5->setText(number_text(e.East));
}

void TFormlongSlopesInport::Show(const LongSlopesInfo& g) {
    Edit1->setText(number_text(g.Mileage));
    Edit2->setText(number_text(g.Height));
    Edit3->setText(number_text(g.Radius));
    Edit4->setText(number_text(g.Slope1));
    Edit5->setText(number_text(g.Slope2));
}

void TFormPileInport::Show(double chainage) {
    Edit1->setText(number_text(chainage));
}

// ---- Intersection point ----

TFormIntersectionInport::TFormIntersectionInport(const UiText& texts,
                                                 IntersectionPointInfo& pending, QWidget* parent)
    : EntryDialog(texts, "TFormIntersectionInport", parent), pending_(pending) {
    Edit1 = add_box("Edit1", Label1, "JD_CODE");
    Edit2 = add_box("Edit2", Label2, "strgrid_N");
    Edit3 = add_box("Edit3", Label3, "strgrid_E");
    Edit4 = add_box("Edit4", Label4, "Mileage");
    Edit5 = add_box("Edit5", Label5, "Radius");
    Edit6 = add_box("Edit6", Label6, "ClothoidLength", {}, "1");
    Edit7 = add_box("Edit7", Label7, "ClothoidLength", {}, "2");
    resize(713, 213);
}

bool TFormIntersectionInport::Submit() {
    if (!all_filled({Edit1, Edit2, Edit3, Edit4, Edit5, Edit6, Edit7}))
        return false;
    const std::pair<QLineEdit*, QLabel*> fields[] = {{Edit2, Label2}, {Edit3, Label3},
                                                     {Edit4, Label4}, {Edit5, Label5},
                                                     {Edit6, Label6}, {Edit7, Label7}};
    double v[6];
    for (int i = 0; i < 6; ++i) {
        const auto n = number(fields[i].first, fields[i].second);
        if (!n)
            return false;
        v[i] = *n;
    }
    IntersectionPointInfo p{};
    p.Name = toGbk(Edit1->text());
    p.North = v[0];
    p.East = v[1];
    p.Mileage = v[2];
    p.Radius = v[3];
    p.ClothoidLength1 = v[4];
    p.ClothoidLength2 = v[5];
    pending_ = p;
    return true;
}

// ---- Line element ----

TFormMainPileInport::TFormMainPileInport(const UiText& texts, PlaneInfo& pending, QWidget* parent)
    : EntryDialog(texts, "TFormMainPileInport", parent), pending_(pending) {
    ComboBox1 = add_list("ComboBox1", Label1, "LineType");
    Edit2 = add_box("Edit2", Label2, "strgrid_Start", "Radius");
    Edit3 = add_box("Edit3", Label3, "strgrid_End", "Radius");
    Edit4 = add_box("Edit4", Label4, "strgrid_Length");
    ComboBox2 = add_list("ComboBox2", Label5, "Direction");
    Edit1 = add_box("Edit1", Label6, "strgrid_N");
    Edit5 = add_box("Edit5", Label7, "strgrid_E");
    connect(ComboBox1, &QComboBox::currentIndexChanged, this,
            &TFormMainPileInport::ComboBox1Change);
    resize(712, 202);
}

void TFormMainPileInport::FillLists() {
    const QSignalBlocker quiet(ComboBox1);
    ComboBox1->clear();
    ComboBox1->addItems({texts_.text("Line"), texts_.text("Circle"), texts_.text("Clothoid")});
    ComboBox2->clear();
    ComboBox2->addItems({texts_.text("strgrid_Left"), texts_.text("strgrid_Right"), QString()});
}

void TFormMainPileInport::Prepare() {
    if (EntryMode != 1)
        return;
    FillLists();
    ComboBox1->setCurrentIndex(0);
    ComboBox2->setCurrentIndex(2);
}

void TFormMainPileInport::ComboBox1Change(int index) {
    // A straight turns nowhere; a curve needs a side, left until told otherwise.
    if (index == 0)
        ComboBox2->setCurrentIndex(2);
    else if (ComboBox2->currentIndex() == 2)
        ComboBox2->setCurrentIndex(0);
}

bool TFormMainPileInport::Submit() {
    if (!all_filled({ComboBox1, Edit2, Edit3, Edit4}))
        return false;
    const std::pair<QLineEdit*, QLabel*> fields[] = {
        {Edit2, Label2}, {Edit3, Label3}, {Edit4, Label4}};
    double v[3];
    for (int i = 0; i < 3; ++i) {
        const auto n = number(fields[i].first, fields[i].second);
        if (!n)
            return false;
        v[i] = *n;
    }
    PlaneInfo e{};
    e.LineType = ComboBox1->currentIndex();
    e.StartRadius = v[0];
    e.EndRadius = v[1];
    e.Length = v[2];
    e.Direction = ComboBox2->currentIndex() == 0 ? "L" : ComboBox2->currentIndex() == 1 ? "R" : "";
    // The start point counts only when both of its boxes are filled.
    if (!Edit1->text().trimmed().isEmpty() && !Edit5->text().trimmed().isEmpty()) {
        const auto north = number(Edit1, Label6);
        if (!north)
            return false;
        const auto east = number(Edit5, Label7);
        if (!east)
            return false;
        e.North = *north;
        e.East = *east;
    }
    pending_ = e;
    return true;
}

// ---- Grade point ----

TFormlongSlopesInport::TFormlongSlopesInport(const UiText& texts, LongSlopesInfo& pending,
                                             QWidget* parent)
    : EntryDialog(texts, "TFormlongSlopesInport", parent), pending_(pending) {
    Edit1 = add_box("Edit1", Label1, "Mileage");
    Edit2 = add_box("Edit2", Label2, "Height");
    Edit3 = add_box("Edit3", Label3, "Radius");
    Edit4 = add_box("Edit4", Label4, "Slope_i", {}, "1");
    Edit5 = add_box("Edit5", Label5, "Slope_i", {}, "2");
    resize(651, 167);
}

bool TFormlongSlopesInport::Submit() {
    if (!all_filled({Edit1, Edit2, Edit3, Edit4, Edit5}))
        return false;
    const std::pair<QLineEdit*, QLabel*> fields[] = {
        {Edit1, Label1}, {Edit2, Label2}, {Edit3, Label3}, {Edit4, Label4}, {Edit5, Label5}};
    double v[5];
    for (int i = 0; i < 5; ++i) {
        const auto n = number(fields[i].first, fields[i].second);
        if (!n)
            return false;
        v[i] = *n;
    }
    LongSlopesInfo g{};
    g.Mileage = v[0];
    g.Height = v[1];
    g.Radius = v[2];
    g.Slope1 = v[3];
    g.Slope2 = v[4];
    g.CurveFlag = g.Radius != 0 && g.Radius != -1 ? 1 : 0;
    pending_ = g;
    return true;
}

// ---- Stake ----

TFormPileInport::TFormPileInport(const UiText& texts, Pile& pending, QWidget* parent)
    : EntryDialog(texts, "TFormPileInport", parent), pending_(pending) {
    Edit1 = add_box("Edit1", Label1, "Mileage");
    resize(266, 133);
}

bool TFormPileInport::Submit() {
    if (!all_filled({Edit1}))
        return false;
    const auto mileage = number(Edit1, Label1);
    if (!mileage)
        return false;
    pending_ = Pile{};
    pending_.Mileage = *mileage;
    return true;
}

} // namespace telvane::road
