#include "form_setting.h"

#include "document/stored_settings.h"
#include "model/numtext.h"
#include "texts/ini_file.h"
#include "ui/codec.h"
#include "ui/ui_text.h"

#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHideEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

#include <filesystem>

namespace telvane {

namespace {

std::filesystem::path to_path(const QString& path) {
    return std::filesystem::path(path.toStdU16String());
}

// The grid scale factor as shown: at least two decimals, and every further digit it has up to
// eight, so a real factor such as 0.9996 keeps its digits.
QString grid_scale_text(double v) {
    std::string text = format_fixed(v, 8);
    const std::size_t point = text.find('.');
    std::size_t keep = text.size();
    while (keep > point + 3 && text[keep - 1] == '0')
        --keep;
    text.resize(keep);
    return QString::fromStdString(text);
}

QLabel* label(QWidget* parent, const char* name, const QString& text) {
    auto* l = new QLabel(text, parent);
    l->setObjectName(QLatin1String(name));
    return l;
}

QComboBox* list(QWidget* parent, const char* name, const QStringList& items) {
    auto* c = new QComboBox(parent);
    c->setObjectName(QLatin1String(name));
    c->addItems(items);
    c->setCurrentIndex(0);
    return c;
}

} // namespace

TForm2::TForm2(const UiText& texts, QString iniPath, QWidget* parent)
    : QDialog(parent), texts_(texts), ini_path_(std::move(iniPath)) {
    setObjectName("Form2");
    setWindowTitle(QStringLiteral("设置"));
    setModal(false);

    AngUnitLAB = label(this, "AngUnitLAB", QStringLiteral("角度单位"));
    AngUnitCBB = list(this, "AngUnitCBB",
                      {QStringLiteral("度分秒"), QStringLiteral("GON"), QStringLiteral("MIL")});
    DistUnitLAB = label(this, "DistUnitLAB", QStringLiteral("距离单位"));
    DistUnitCBB =
        list(this, "DistUnitCBB",
             {QStringLiteral("米"), QStringLiteral("美国英尺"), QStringLiteral("国际英尺")});
    TwoDiffLAB = label(this, "TwoDiffLAB", QStringLiteral("两差系数"));
    KOptionCBB = list(this, "KOptionCBB", {"0.00", "0.14", "0.20"});
    GridScaleLAB = label(this, "GridScaleLAB", QStringLiteral("格网因子"));
    GridScaleEdit = new QLineEdit(QStringLiteral("1.00"), this);
    GridScaleEdit->setObjectName("GridScaleEdit");
    GridScaleEdit->installEventFilter(this);
    CoordOrderLAB = label(this, "CoordOrderLAB", QStringLiteral("坐标顺序"));
    CoordOrderCBB = list(this, "CoordOrderCBB", {"NEZ", "ENZ"});
    Reset = new QPushButton(QStringLiteral("重置"), this);
    Reset->setObjectName("Reset");
    Reset->setAutoDefault(false);
    Confirm = new QPushButton(QStringLiteral("确定"), this);
    Confirm->setObjectName("Confirm");
    Confirm->setAutoDefault(false);

    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(16);
    grid->setVerticalSpacing(10);
    const std::pair<QLabel*, QWidget*> rows[] = {{AngUnitLAB, AngUnitCBB},
                                                 {DistUnitLAB, DistUnitCBB},
                                                 {TwoDiffLAB, KOptionCBB},
                                                 {GridScaleLAB, GridScaleEdit},
                                                 {CoordOrderLAB, CoordOrderCBB}};
    int r = 0;
    for (auto [l, w] : rows) {
        grid->addWidget(l, r, 0);
        grid->addWidget(w, r, 1);
        w->setMinimumWidth(150);
        ++r;
    }
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Reset);
    buttons->addWidget(Confirm);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 20, 24, 16);
    layout->addLayout(grid);
    layout->addSpacing(12);
    layout->addLayout(buttons);

    connect(Reset, &QPushButton::clicked, this, &TForm2::ResetClick);
    connect(Confirm, &QPushButton::clicked, this, &TForm2::ConfirmClick);
    // Return in the grid-scale field checks it like leaving the field does.
    connect(GridScaleEdit, &QLineEdit::returnPressed, this, &TForm2::GridScaleEditExit);

    Load();
}

void TForm2::Load() {
    value_ = read_settings(IniFile::load(to_path(ini_path_)));

    setWindowTitle(texts_.text("settingbtn"));
    AngUnitLAB->setText(texts_.text("AngUnitLab"));
    DistUnitLAB->setText(texts_.text("DistUnitLab"));
    TwoDiffLAB->setText(texts_.text("TwoDiffLab"));
    GridScaleLAB->setText(texts_.text("GridScaleLab"));
    CoordOrderLAB->setText(texts_.text("CoordOrderLab"));
    Reset->setText(texts_.text("resetbtn"));
    Confirm->setText(texts_.text("confirmbtn"));

    AngUnitCBB->clear();
    AngUnitCBB->addItems(texts_.angle_units());
    DistUnitCBB->clear();
    DistUnitCBB->addItems(texts_.distance_units());

    AngUnitCBB->setCurrentIndex(value_.AngleUnit);
    DistUnitCBB->setCurrentIndex(value_.LengthUnit);
    KOptionCBB->setCurrentIndex(value_.KOption);
    CoordOrderCBB->setCurrentIndex(value_.CoordOrder);
    GridScaleEdit->setText(grid_scale_text(value_.GridScale));
    last_grid_scale_ = parse_double(GridScaleEdit->text().toStdString());
}

bool TForm2::GridScaleEditExit() {
    if (checking_)
        return true; // the message box below takes the focus while it is up
    checking_ = true;
    double v = 0;
    const bool number = try_parse_double(GridScaleEdit->text().toStdString(), v);
    const bool accepted = number && v >= kGridScaleMin && v <= kGridScaleMax;
    if (accepted) {
        GridScaleEdit->setText(grid_scale_text(v));
        last_grid_scale_ = v;
    } else {
        GridScaleEdit->setText(grid_scale_text(last_grid_scale_));
        texts_.message("input_wrong_data");
    }
    checking_ = false;
    return accepted;
}

void TForm2::ResetClick() {
    AngUnitCBB->setCurrentIndex(0);
    DistUnitCBB->setCurrentIndex(0);
    KOptionCBB->setCurrentIndex(0);
    CoordOrderCBB->setCurrentIndex(0);
    GridScaleEdit->setText(QStringLiteral("1.00"));
}

void TForm2::ConfirmClick() {
    // Normally the field was checked when the focus left it; Return on the button may come first.
    if (!GridScaleEditExit())
        return;
    // The choices become the settings the program uses only now; the rest of the file (the
    // main window's port and language) is read and written back unchanged.
    IniFile ini = IniFile::load(to_path(ini_path_));
    StoredSettings stored = read_settings(ini);
    stored.AngleUnit = AngUnitCBB->currentIndex();
    stored.LengthUnit = DistUnitCBB->currentIndex();
    stored.KOption = KOptionCBB->currentIndex();
    stored.GridScale = parse_double(GridScaleEdit->text().toStdString());
    stored.CoordOrder = CoordOrderCBB->currentIndex();
    value_ = stored;
    write_settings(ini, stored, kUnitSettings);
    if (!ini.save(to_path(ini_path_)))
        qWarning("The settings could not be written to %s", qUtf8Printable(ini_path_));
    close();
    emit UnitsConfirmed(texts_.text("hint_settingbtn") + angle_unit_text() + QStringLiteral(", ") +
                        distance_unit_text());
}

// The settings as confirmed (or read at start), never the lists while the user changes them.
int TForm2::angle_unit_code() const {
    return telvane::file_settings(value_).units.angle;
}
int TForm2::distance_unit_code() const {
    return telvane::file_settings(value_).units.distance;
}
double TForm2::k_option() const {
    return telvane::file_settings(value_).reduction.K;
}
double TForm2::grid_scale() const {
    return value_.GridScale;
}
FileSettings TForm2::file_settings() const {
    return telvane::file_settings(value_);
}

int TForm2::coord_order() const {
    return value_.CoordOrder;
}
QString TForm2::angle_unit_text() const {
    const QStringList units = texts_.angle_units();
    return value_.AngleUnit >= 0 && value_.AngleUnit < units.size() ? units[value_.AngleUnit]
                                                                    : QString();
}
QString TForm2::distance_unit_text() const {
    const QStringList units = texts_.distance_units();
    return value_.LengthUnit >= 0 && value_.LengthUnit < units.size() ? units[value_.LengthUnit]
                                                                      : QString();
}

void TForm2::showEvent(QShowEvent* event) {
    if (!event->spontaneous())
        Load();
    QDialog::showEvent(event);
}

void TForm2::hideEvent(QHideEvent* event) {
    QDialog::hideEvent(event);
    if (!event->spontaneous())
        emit Closed();
}

bool TForm2::eventFilter(QObject* watched, QEvent* event) {
    if (watched == GridScaleEdit && event->type() == QEvent::FocusOut)
        GridScaleEditExit();
    return QDialog::eventFilter(watched, event);
}

} // namespace telvane
