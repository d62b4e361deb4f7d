#include "form_road.h"

#include "check_table_model.h"
#include "document/stored_settings.h"
#include "fileio/opendata.h"
#include "model/numtext.h"
#include "model/textlines.h"
#include "plot/check_picture.h"
#include "plot/picture.h"
#include "road/design/road_texts.h"
#include "road/landxml/road_design_io.h"
#include "ui/codec.h"
#include "ui/guard.h"
#include "ui/plot_view.h"
#include "ui/prompts.h"
#include "ui/ui_text.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QDoubleSpinBox>
#include <QFile>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QSplitter>
#include <QTabWidget>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>
#include <filesystem>
#include <memory>

namespace telvane::road {

namespace {

constexpr RoadList kPages[] = {RoadList::Intersections, RoadList::Elements, RoadList::Profile,
                               RoadList::Stakes};

QPushButton* command_button(QWidget* parent, const char* name) {
    auto* b = new QPushButton(parent);
    b->setObjectName(QLatin1String(name));
    b->setAutoDefault(false);
    return b;
}

} // namespace

int PageIndex(RoadList list) {
    switch (list) {
    case RoadList::Intersections:
        return 0;
    case RoadList::Elements:
        return 1;
    case RoadList::Profile:
        return 2;
    case RoadList::Stakes:
        break;
    }
    return 3;
}

TFormRoadCalculate::TFormRoadCalculate(const UiText& texts, Prompts& prompts, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint), texts_(texts),
      prompts_(prompts) {
    setObjectName("TFormRoadCalculate");
    resize(1024, 641);
    auto* layout = new QVBoxLayout(this);

    auto* top = new QHBoxLayout;
    GroupBox1 = new QGroupBox(this);
    GroupBox1->setObjectName("GroupBox1");
    auto* start = new QHBoxLayout(GroupBox1);
    auto box = [&](const char* label_name, QLabel*& label, const char* edit_name, QLineEdit*& edit,
                   int width) {
        label = new QLabel(GroupBox1);
        label->setObjectName(QLatin1String(label_name));
        edit = new QLineEdit(GroupBox1);
        edit->setObjectName(QLatin1String(edit_name));
        edit->setMinimumWidth(width);
        label->setBuddy(edit);
        start->addWidget(label);
        start->addWidget(edit, 1);
    };
    box("Label1", Label1, "Edit1", Edit1, 110);
    box("Label5", Label5, "Edit2", Edit2, 130);
    box("Label2", Label2, "Edit3", Edit3, 130);
    box("Label3", Label3, "Edit4", Edit4, 130);
    LabelAzimuthUnit = new QLabel(GroupBox1);
    LabelAzimuthUnit->setObjectName("LabelAzimuthUnit");
    start->addWidget(LabelAzimuthUnit);
    box("Label4", Label4, "Edit5", Edit5, 60);
    top->addWidget(GroupBox1, 1);
    BtnExit = command_button(this, "BtnExit");
    top->addWidget(BtnExit, 0, Qt::AlignTop);
    layout->addLayout(top);

    auto* commands = new QHBoxLayout;
    BtnAppend = command_button(this, "BtnAppend");
    BtnInsert = command_button(this, "BtnInsert");
    BtnDelete = command_button(this, "BtnDelete");
    BtnUpdate = command_button(this, "BtnUpdate");
    BtnLoad = command_button(this, "BtnLoad");
    BtnSave = command_button(this, "BtnSave");
    BtnCalculate = command_button(this, "BtnCalculate");
    BtnClear = command_button(this, "BtnClear");
    BtnUndo = command_button(this, "BtnUndo");
    BtnRedo = command_button(this, "BtnRedo");
    BtnLoadLandXml = command_button(this, "BtnLoadLandXml");
    BtnSaveLandXml = command_button(this, "BtnSaveLandXml");
    for (QPushButton* b :
         {BtnAppend, BtnInsert, BtnDelete, BtnUpdate, BtnLoad, BtnSave, BtnCalculate, BtnClear,
          BtnUndo, BtnRedo, BtnLoadLandXml, BtnSaveLandXml})
        commands->addWidget(b);
    commands->addStretch(1);
    layout->addLayout(commands);

    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName("PageControl1");
    const char* sheets[] = {"TabSheet1", "TabSheet2", "TabSheet3", "TabSheet4"};
    const char* grids[] = {"SGIntersection", "SGMainPile", "SGSlope", "SGPile"};
    QWidget** sheet_members[] = {&TabSheet1, &TabSheet2, &TabSheet3, &TabSheet4};
    QTableView** grid_members[] = {&SGIntersection, &SGMainPile, &SGSlope, &SGPile};
    for (std::size_t i = 0; i < 4; ++i) {
        auto* sheet = new QWidget(PageControl1);
        sheet->setObjectName(QLatin1String(sheets[i]));
        auto* sheet_layout = new QVBoxLayout(sheet);
        sheet_layout->setContentsMargins(0, 0, 0, 0);
        auto* grid = new QTableView(sheet);
        grid->setObjectName(QLatin1String(grids[i]));
        grid->setSelectionBehavior(QAbstractItemView::SelectRows);
        grid->setSelectionMode(QAbstractItemView::SingleSelection);
        grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
        grid->verticalHeader()->setDefaultSectionSize(20);
        grid->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
        models_[i] = new RoadTableModel(
            Data, kPages[i], [this](std::string_view key) { return texts_.text(key); }, grid);
        grid->setModel(models_[i]);
        sheet_layout->addWidget(grid);
        PageControl1->addTab(sheet, QString());
        *sheet_members[i] = sheet;
        *grid_members[i] = grid;
    }
    // The Check page: measured points against the design.
    TabSheetCheck = new QWidget(PageControl1);
    TabSheetCheck->setObjectName("TabSheetCheck");
    {
        auto* check_layout = new QVBoxLayout(TabSheetCheck);
        check_layout->setContentsMargins(0, 0, 0, 0);
        auto* row = new QHBoxLayout;
        BtnCheckFile = command_button(TabSheetCheck, "BtnCheckFile");
        BtnCheckShown = command_button(TabSheetCheck, "BtnCheckShown");
        BtnCheckSave = command_button(TabSheetCheck, "BtnCheckSave");
        auto spin = [this, row](const char* label_name, QLabel*& label, const char* name,
                                QDoubleSpinBox*& box, double low, double high, int decimals) {
            label = new QLabel(TabSheetCheck);
            label->setObjectName(QLatin1String(label_name));
            box = new QDoubleSpinBox(TabSheetCheck);
            box->setObjectName(QLatin1String(name));
            box->setRange(low, high);
            box->setDecimals(decimals);
            label->setBuddy(box);
            row->addWidget(label);
            row->addWidget(box);
        };
        row->addWidget(BtnCheckFile);
        row->addWidget(BtnCheckShown);
        spin("LblTolerancePlan", LblTolerancePlan, "EditTolerancePlan", EditTolerancePlan, 0.001,
             100, 3);
        spin("LblToleranceHeight", LblToleranceHeight, "EditToleranceHeight", EditToleranceHeight,
             0.001, 100, 3);
        spin("LblArrowFactor", LblArrowFactor, "EditArrowFactor", EditArrowFactor, 0, 1e6, 0);
        EditArrowFactor->setSpecialValueText(QStringLiteral("auto"));
        row->addWidget(BtnCheckSave);
        row->addStretch(1);
        check_layout->addLayout(row);
        SGCheck = new QTableView(TabSheetCheck);
        SGCheck->setObjectName("SGCheck");
        SGCheck->setSelectionBehavior(QAbstractItemView::SelectRows);
        SGCheck->setEditTriggers(QAbstractItemView::NoEditTriggers);
        SGCheck->verticalHeader()->setDefaultSectionSize(20);
        check_model_ = new CheckTableModel(
            checks_, [this](std::string_view key) { return texts_.language().GetText(key); },
            SGCheck);
        SGCheck->setModel(check_model_);
        check_layout->addWidget(SGCheck, 1);
        PageControl1->addTab(TabSheetCheck, QString());
    }
    connect(PageControl1, &QTabWidget::currentChanged, this, [this] { update_history_buttons(); });
    connect(EditArrowFactor, &QDoubleSpinBox::valueChanged, this,
            [this] { update_check_picture(); });

    // The pictures beside the tables.
    auto* pictures = new QWidget(this);
    auto* pictures_layout = new QVBoxLayout(pictures);
    pictures_layout->setContentsMargins(0, 0, 0, 0);
    PicturePages = new QTabWidget(pictures);
    PicturePages->setObjectName("PicturePages");
    PlanView = new PlotView(PicturePages);
    PlanView->setObjectName("PlanView");
    ProfileView = new PlotView(PicturePages);
    ProfileView->setObjectName("ProfileView");
    PicturePages->addTab(PlanView, QString());
    PicturePages->addTab(ProfileView, QString());
    pictures_layout->addWidget(PicturePages, 1);
    auto* picture_row = new QHBoxLayout;
    BtnFitPicture = command_button(pictures, "BtnFitPicture");
    BtnSavePicture = command_button(pictures, "BtnSavePicture");
    LblReadout = new QLabel(pictures);
    LblReadout->setObjectName("LblReadout");
    LblReadout->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    picture_row->addWidget(BtnFitPicture);
    picture_row->addWidget(BtnSavePicture);
    picture_row->addWidget(LblReadout, 1);
    pictures_layout->addLayout(picture_row);
    auto* split = new QSplitter(Qt::Horizontal, this);
    split->setObjectName("Splitter1");
    split->addWidget(PageControl1);
    split->addWidget(pictures);
    split->setStretchFactor(0, 3);
    split->setStretchFactor(1, 2);
    layout->addWidget(split, 1);
    for (PlotView* view : {PlanView, ProfileView})
        connect(view, &PlotView::ReadoutChanged, LblReadout, &QLabel::setText);
    connect(BtnFitPicture, &QPushButton::clicked, this, [this] {
        PlanView->Fit();
        ProfileView->Fit();
    });
    connect(BtnSavePicture, &QPushButton::clicked, this,
            [this] { run(&TFormRoadCalculate::BtnSavePictureClick); });

    const std::pair<QPushButton*, void (TFormRoadCalculate::*)()> handlers[] = {
        {BtnAppend, &TFormRoadCalculate::BtnAppendClick},
        {BtnInsert, &TFormRoadCalculate::BtnInsertClick},
        {BtnDelete, &TFormRoadCalculate::BtnDeleteClick},
        {BtnUpdate, &TFormRoadCalculate::BtnUpdateClick},
        {BtnLoad, &TFormRoadCalculate::BtnLoadClick},
        {BtnSave, &TFormRoadCalculate::BtnSaveClick},
        {BtnCalculate, &TFormRoadCalculate::BtnCalculateClick},
        {BtnClear, &TFormRoadCalculate::BtnClearClick},
        {BtnExit, &TFormRoadCalculate::BtnExitClick},
        {BtnUndo, &TFormRoadCalculate::BtnUndoClick},
        {BtnRedo, &TFormRoadCalculate::BtnRedoClick},
        {BtnLoadLandXml, &TFormRoadCalculate::BtnLoadLandXmlClick},
        {BtnSaveLandXml, &TFormRoadCalculate::BtnSaveLandXmlClick},
        {BtnCheckFile, &TFormRoadCalculate::BtnCheckFileClick},
        {BtnCheckShown, &TFormRoadCalculate::BtnCheckShownClick},
        {BtnCheckSave, &TFormRoadCalculate::BtnCheckSaveClick},
    };
    for (auto [b, handler] : handlers)
        connect(b, &QPushButton::clicked, this, [this, handler = handler] { run(handler); });
    // Keys of undo and redo, while this window is active.
    const std::pair<QKeySequence, QPushButton*> keys[] = {
        {QKeySequence::Undo, BtnUndo},
        {QKeySequence(Qt::CTRL | Qt::Key_Y), BtnRedo},
        {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), BtnRedo},
    };
    for (const auto& [key, b] : keys) {
        auto* action = new QAction(this);
        action->setShortcut(key);
        action->setShortcutContext(Qt::WindowShortcut);
        addAction(action);
        connect(action, &QAction::triggered, this, [b = b] {
            if (b->isEnabled())
                b->click();
        });
    }
    update_history_buttons();
}

void TFormRoadCalculate::run(void (TFormRoadCalculate::*command)()) {
    // Every command is one step of the history, however many operations of the data it makes
    // (undo and redo move in it instead).
    const bool step = command != &TFormRoadCalculate::BtnUndoClick &&
                      command != &TFormRoadCalculate::BtnRedoClick;
    if (step)
        Data.BeginChange();
    guarded(prompts_, [this, command] { (this->*command)(); });
    if (step)
        Data.EndChange();
    update_history_buttons();
}

void TFormRoadCalculate::update_history_buttons() {
    BtnUndo->setEnabled(Data.CanUndo());
    BtnRedo->setEnabled(Data.CanRedo());
    // The list commands act on the list on show; the Check page has none.
    const bool lists = !on_check_page();
    for (QPushButton* b : {BtnAppend, BtnInsert, BtnDelete, BtnUpdate, BtnLoad, BtnSave})
        b->setEnabled(lists);
    BtnCheckSave->setEnabled(!checks_.empty());
}

bool TFormRoadCalculate::on_check_page() const {
    return PageControl1->currentWidget() == TabSheetCheck;
}

void TFormRoadCalculate::BtnUndoClick() {
    Data.Undo();
    refill_all();
    UpdatePictures();
}

void TFormRoadCalculate::BtnRedoClick() {
    Data.Redo();
    refill_all();
    UpdatePictures();
}

RoadList TFormRoadCalculate::ActivePage() const {
    // The Check page is no list: the list commands are off there, and this names the last list.
    return kPages[std::clamp(PageControl1->currentIndex(), 0, 3)];
}

bool TFormRoadCalculate::HasUnsavedChanges() const {
    return Data.HasUnsavedChanges();
}

QTableView* TFormRoadCalculate::table(RoadList page) const {
    QTableView* const tables[] = {SGIntersection, SGMainPile, SGSlope, SGPile};
    return tables[PageIndex(page)];
}

RoadTableModel* TFormRoadCalculate::model(RoadList page) const {
    return models_[static_cast<std::size_t>(PageIndex(page))];
}

void TFormRoadCalculate::refill(RoadList page) {
    model(page)->Refill();
    const QList<int> widths = model(page)->ColumnWidths();
    for (int c = 0; c < widths.size(); ++c)
        table(page)->setColumnWidth(c, widths[c]);
}

void TFormRoadCalculate::refill_all() {
    for (RoadList p : kPages)
        refill(p);
}

std::size_t TFormRoadCalculate::selected(RoadList page) const {
    const QModelIndex at = table(page)->currentIndex();
    return at.isValid() ? static_cast<std::size_t>(at.row()) : 0;
}

void TFormRoadCalculate::FormPaint() {
    setWindowTitle(texts_.text("RoadWinName"));
    GroupBox1->setTitle(texts_.text("start_pile"));
    Label1->setText(texts_.text("Mileage"));
    Label5->setText(texts_.text("strgrid_N"));
    Label2->setText(texts_.text("strgrid_E"));
    Label3->setText(texts_.text("AzimuthAngle"));
    LabelAzimuthUnit->setText(texts_.text("azimuth_unit"));
    Label4->setText(texts_.text("offset"));
    const std::pair<QPushButton*, const char*> captions[] = {{BtnExit, "Exit"},
                                                             {BtnAppend, "appendbtn"},
                                                             {BtnInsert, "insertbtn"},
                                                             {BtnDelete, "deletebtn"},
                                                             {BtnUpdate, "Update"},
                                                             {BtnLoad, "Load"},
                                                             {BtnSave, "savebtn"},
                                                             {BtnCalculate, "calculate"},
                                                             {BtnClear, "clear_data"},
                                                             {BtnUndo, "undobtn"},
                                                             {BtnRedo, "redobtn"},
                                                             {BtnLoadLandXml, "landxml_load"},
                                                             {BtnSaveLandXml, "landxml_save"},
                                                             {BtnCheckFile, "check_points_file"},
                                                             {BtnCheckShown, "check_points_shown"},
                                                             {BtnCheckSave, "check_save_report"}};
    for (auto [b, key] : captions)
        b->setText(texts_.text(key));
    const char* pages[] = {"intersection_data", "mainpile_data", "slope_data", "pile_data"};
    for (int i = 0; i < 4; ++i)
        PageControl1->setTabText(i, texts_.text(pages[i]));
    PageControl1->setTabText(PageControl1->indexOf(TabSheetCheck), texts_.text("check_page"));
    LblTolerancePlan->setText(texts_.text("check_tolerance_plan"));
    LblToleranceHeight->setText(texts_.text("check_tolerance_height"));
    LblArrowFactor->setText(texts_.text("check_factor_label"));
    check_model_->Refill();
    if (!ini_path_.isEmpty()) {
        const StoredSettings stored =
            read_settings(IniFile::load(std::filesystem::path(ini_path_.toStdU16String())));
        EditTolerancePlan->setValue(stored.TolerancePlan);
        EditToleranceHeight->setValue(stored.ToleranceHeight);
    }
    PicturePages->setTabText(0, texts_.text("plan_page"));
    PicturePages->setTabText(1, texts_.text("profile_page"));
    BtnFitPicture->setText(texts_.text("picture_fit"));
    BtnSavePicture->setText(texts_.text("picture_save"));
    for (PlotView* view : {PlanView, ProfileView}) {
        view->chainage_text = texts_.text("Mileage");
        view->offset_text = texts_.text("offset");
        view->north_text = texts_.text("strgrid_N");
        view->east_text = texts_.text("strgrid_E");
        view->height_text = texts_.text("Height");
    }
    refill_all();
}

void TFormRoadCalculate::showEvent(QShowEvent* event) {
    if (!event->spontaneous())
        guarded(prompts_, [this] { FormPaint(); });
    QWidget::showEvent(event);
}

void TFormRoadCalculate::closeEvent(QCloseEvent* event) {
    // Closed by the window manager: the same as Exit, so the main window comes back.
    event->ignore();
    run(&TFormRoadCalculate::BtnExitClick);
}

std::optional<RoadRecord> TFormRoadCalculate::enter(RoadList page, const EntryTexts& shown) {
    // With a design's stations, a stake is typed as a station.
    std::function<std::optional<double>(double)> chainage_of;
    if (Data.Stations())
        chainage_of = [this](double station) { return Data.ChainageOf(station); };
    return EnterRecord(prompts_, texts_, page, shown, chainage_of);
}

void TFormRoadCalculate::add(bool at_end) {
    const RoadList page = ActivePage();
    // Adding to the other form of the alignment asks first; it changes nothing unless the new
    // record is also entered.
    const std::optional<RoadQuestion> question = Data.LoadQuestion(page);
    if (question &&
        texts_.prompts().ask(texts_.text(question->TitleKey), texts_.text(question->TextKey)) != 1)
        return;
    const std::optional<RoadRecord> record = enter(page, NewEntry(page));
    if (!record)
        return;
    if (question)
        Data.SwitchAlignment(page);
    const std::size_t at = at_end ? Data.Count(page) : std::min(selected(page), Data.Count(page));
    InsertRecord(Data, at, *record);
    if (question)
        refill_all();
    else
        refill(page);
    table(page)->setCurrentIndex(model(page)->index(static_cast<int>(at), 0));
}

void TFormRoadCalculate::BtnAppendClick() {
    add(true);
}

void TFormRoadCalculate::BtnInsertClick() {
    add(false);
}

void TFormRoadCalculate::BtnUpdateClick() {
    const RoadList page = ActivePage();
    if (Data.Count(page) == 0)
        return;
    const std::size_t k = std::min(selected(page), Data.Count(page) - 1);
    // The record's values in its form; what is submitted replaces the record. A stake shows its
    // station.
    RoadRecord shown = RecordAt(Data, page, k);
    if (auto* stake = std::get_if<Pile>(&shown))
        stake->Mileage = Data.StationOf(stake->Mileage);
    const std::optional<RoadRecord> record = enter(page, EntryTextsOf(shown));
    if (!record)
        return;
    UpdateRecord(Data, k, *record);
    refill(page);
    table(page)->setCurrentIndex(model(page)->index(static_cast<int>(k), 0));
}

void TFormRoadCalculate::BtnDeleteClick() {
    const RoadList page = ActivePage();
    const QModelIndex at = table(page)->currentIndex();
    if (!at.isValid() || model(page)->index(at.row(), 1).data().toString().isEmpty())
        return;
    if (texts_.question("if_delete_data") != 1)
        return;
    Data.Remove(page, static_cast<std::size_t>(at.row()));
    refill(page);
    const int rows = static_cast<int>(Data.Count(page));
    if (rows > 0)
        table(page)->setCurrentIndex(model(page)->index(std::min(at.row(), rows - 1), 0));
}

void TFormRoadCalculate::BtnClearClick() {
    if (texts_.if_clear_allroad() != 1)
        return;
    Data.ClearAll();
    for (QLineEdit* e : {Edit1, Edit2, Edit3, Edit4, Edit5})
        e->clear();
    refill_all();
    UpdatePictures();
}

void TFormRoadCalculate::BtnExitClick() {
    hide();
    emit Exited();
}

void TFormRoadCalculate::show_message(const RoadMessage& message) {
    if (!message.IsKey) {
        prompts_.message(fromGbk(message.Text));
        return;
    }
    // The key's text with its values (names, rows, chainages, file names) in place of "%s".
    prompts_.message(fromGbk(FillMessage(texts_.language().GetText(message.Text), message.Args)));
}

void TFormRoadCalculate::BtnCalculateClick() {
    const StartPoint boxes = start_point();
    // A start box that is not a number is named; nothing changes.
    if (const std::optional<StartBox> refused = FirstBoxNotNumber(boxes)) {
        const std::pair<QLineEdit*, QLabel*> named[] = {
            {Edit1, Label1}, {Edit2, Label5}, {Edit3, Label2}, {Edit4, Label3}, {Edit5, Label4}};
        const auto [box, label] = named[static_cast<std::size_t>(*refused)];
        prompts_.message(texts_.text("input_not_number") + label->text());
        box->setFocus();
        box->selectAll();
        return;
    }
    const CalculationOutcome outcome = Data.Calculate(boxes);
    if (outcome.RefillIntersections)
        refill(RoadList::Intersections);
    if (outcome.RefillElements)
        refill(RoadList::Elements);
    if (outcome.RefillStakes) {
        refill(RoadList::Stakes);
    }
    // A refused calculation has cleared its results: the pictures go with them.
    UpdatePictures();
    if (outcome.Message)
        show_message(*outcome.Message);
}

void TFormRoadCalculate::UpdatePictures() {
    if (!Data.EngineReady()) {
        PlanView->SetPicture({});
        ProfileView->SetPicture({});
        return;
    }
    // The plan is sampled again for every zoom, from a copy of this calculation's road (the
    // lists may change before the next calculation).
    auto engine = std::make_shared<const DesignAxisCalculate>(Data.Engine);
    PlanView->SetSampler(
        [engine, points = Data.IntersectionPoints(), stakes = Data.Stakes()](double tolerance) {
            return plot::road_plan(*engine, points, stakes, tolerance);
        });
    // The profile's vertical curves to a centimetre of chainage.
    ProfileView->SetPicture(
        plot::road_profile(Data.Engine, Data.GradePoints(), Data.Stakes(), 0.01));
}

void TFormRoadCalculate::BtnSavePictureClick() {
    const bool plan = PicturePages->currentIndex() == 0;
    // No default suffix: the dialog would add ".svg" to a bare name whatever type was chosen.
    const std::optional<FileChoice> choice =
        prompts_.saveFile(texts_.filter("PICTURE_FILTER"), QString());
    const std::optional<QString> named =
        choice ? name_to_write(choice->fileName, choice->typeIndex == 2 ? QStringLiteral(".png")
                                                                        : QStringLiteral(".svg"))
               : std::nullopt;
    if (!named)
        return;
    const QString& name = *named;
    PlotView* view = plan ? PlanView : ProfileView;
    if (!view->Save(name, texts_.text(plan ? "plan_page" : "profile_page")))
        prompts_.message(texts_.text("file_save_failed") + QStringLiteral("\n") + name);
}

void TFormRoadCalculate::BtnLoadClick() {
    const RoadList page = ActivePage();
    const std::optional<FileChoice> choice = prompts_.openFile(texts_.filter(FileFilterKey(page)));
    if (!choice)
        return;
    const std::optional<RoadQuestion> question = Data.LoadQuestion(page);
    if (question &&
        texts_.prompts().ask(texts_.text(question->TitleKey), texts_.text(question->TextKey)) != 1)
        return;
    const LoadOutcome outcome = Data.Load(page, QFile::encodeName(choice->fileName).toStdString());
    if (outcome.ReadFailed) {
        prompts_.message(texts_.text("file_read_error") + QStringLiteral("\n") + choice->fileName +
                         QStringLiteral("\n") + QString::fromLocal8Bit(outcome.ReadError.c_str()));
        return;
    }
    for (const RoadMessage& m :
         LoadMessages(outcome, toGbk(QDir::toNativeSeparators(choice->fileName))))
        show_message(m);
    if (outcome.Boxes) {
        Edit1->setText(fromGbk(outcome.Boxes->Chainage));
        Edit2->setText(fromGbk(outcome.Boxes->North));
        Edit3->setText(fromGbk(outcome.Boxes->East));
        Edit4->setText(fromGbk(outcome.Boxes->Azimuth));
    }
    // With a design's stations, the stake file gives stations: a station the design does not
    // have is named and left out.
    if (page == RoadList::Stakes)
        for (const double station : Data.StakesFromStations())
            prompts_.message(texts_.text("cli_landxml_station") + QStringLiteral(": ") +
                             number_text(station));
    Data.MarkSaved(page);
    refill_all();
}

void TFormRoadCalculate::BtnSaveClick() {
    const RoadList page = ActivePage();
    std::optional<FileChoice> choice = prompts_.saveFile(texts_.filter(FileFilterKey(page)),
                                                         QLatin1String(DefaultExtension(page)));
    if (!choice)
        return;
    if (Data.Count(page) == 0)
        return;
    const std::optional<QString> named =
        name_to_write(choice->fileName, QLatin1String(DefaultExtension(page)));
    if (!named)
        return;
    const QString& name = *named;
    const RoadColumnTitles titles = RoadColumnTitles::FromTexts(
        [this](std::string_view key) { return texts_.language().GetText(key); });
    std::string error;
    const SaveStatus status =
        Data.Save(page, QFile::encodeName(name).toStdString(), titles, &error);
    if (status == SaveStatus::Saved)
        Data.MarkSaved(page);
    if (const std::optional<RoadMessage> said =
            SaveMessage(status, toGbk(QDir::toNativeSeparators(name)),
                        toGbk(QString::fromLocal8Bit(error.c_str()))))
        show_message(*said);
}

void TFormRoadCalculate::BtnLoadLandXmlClick() {
    const std::optional<FileChoice> choice = prompts_.openFile(texts_.filter("LANDXML_FILTER"));
    if (!choice)
        return;
    const std::string path = QFile::encodeName(choice->fileName).toStdString();
    landxml::DesignLoad load = landxml::load_design(Data, path);
    if (!load.Design && !load.Choices.empty()) {
        // Several alignments: the user picks one.
        QStringList names;
        for (const std::string& name : load.Choices)
            names << fromGbk(name);
        const std::optional<int> picked = prompts_.choose(
            texts_.text("landxml_choose_title"), texts_.text("landxml_choose_alignment"), names);
        if (!picked)
            return;
        load = landxml::load_design(Data, path, load.Choices[static_cast<std::size_t>(*picked)]);
    }
    if (!load.Design) {
        if (load.Error.Key == "file_read_error")
            prompts_.message(texts_.text("file_read_error") + QStringLiteral("\n") +
                             choice->fileName + QStringLiteral("\n") +
                             QString::fromLocal8Bit(load.ReadError.c_str()));
        else
            prompts_.message(texts_.text(load.Error.Key) + fromGbk(load.Error.Subject));
        return;
    }
    // The design gives its own start: the boxes are emptied so that they do not move it.
    for (QLineEdit* e : {Edit1, Edit2, Edit3, Edit4})
        e->clear();
    // The lists are what the LandXML file holds.
    Data.MarkSaved(RoadList::Elements);
    Data.MarkSaved(RoadList::Profile);
    Data.MarkSaved(RoadList::Intersections);
    refill_all();
    PageControl1->setCurrentIndex(PageIndex(RoadList::Elements));
}

void TFormRoadCalculate::BtnSaveLandXmlClick() {
    const std::optional<FileChoice> choice =
        prompts_.saveFile(texts_.filter("LANDXML_FILTER"), QStringLiteral(".xml"));
    const std::optional<QString> named =
        choice ? name_to_write(choice->fileName, QStringLiteral(".xml")) : std::nullopt;
    if (!named)
        return;
    const QString& name = *named;
    std::string error;
    const std::optional<landxml::LandXmlError> refused = landxml::save_design(
        Data, QFile::encodeName(name).toStdString(), true, OffsetOf(start_point()), &error);
    const std::string file = toGbk(QDir::toNativeSeparators(name));
    if (!refused)
        show_message(RoadMessage{true, roadkeys::Saved, {file}});
    else if (refused->Key == "Failure")
        show_message(RoadMessage{
            true, roadkeys::SaveFailed, {file, toGbk(QString::fromLocal8Bit(error.c_str()))}});
    else
        prompts_.message(texts_.text(refused->Key) + fromGbk(refused->Subject));
}

std::optional<QString> TFormRoadCalculate::name_to_write(QString chosen,
                                                         const QString& extension) const {
    if (QFileInfo(chosen).suffix().isEmpty())
        chosen += extension;
    if (!texts_.may_write(chosen))
        return std::nullopt;
    return chosen;
}

StartPoint TFormRoadCalculate::start_point() const {
    return {toGbk(Edit1->text()), toGbk(Edit2->text()), toGbk(Edit3->text()), toGbk(Edit4->text()),
            toGbk(Edit5->text())};
}

void TFormRoadCalculate::keep_tolerances() {
    if (ini_path_.isEmpty())
        return;
    const std::filesystem::path path(ini_path_.toStdU16String());
    IniFile ini = IniFile::load(path);
    StoredSettings stored = read_settings(ini);
    stored.TolerancePlan = EditTolerancePlan->value();
    stored.ToleranceHeight = EditToleranceHeight->value();
    write_settings(ini, stored, kCheckSettings);
    ini.save(path);
}

void TFormRoadCalculate::check_points(std::vector<check::MeasuredPoint> points) {
    if (!Data.EngineReady()) {
        texts_.message("check_needs_calculation");
        return;
    }
    if (points.empty()) {
        texts_.message("cli_check_no_points");
        return;
    }
    keep_tolerances();
    const check::StakeCheck checker(
        Data.Engine, OffsetOf(start_point()),
        check::CheckTolerances{EditTolerancePlan->value(), EditToleranceHeight->value()},
        check::stations_of(Data.Stations()));
    checks_ = checker.CheckAll(points);
    check_model_->Refill();
    SGCheck->resizeColumnsToContents();
    PageControl1->setCurrentWidget(TabSheetCheck);
    update_check_picture();
    update_history_buttons();
}

void TFormRoadCalculate::update_check_picture() {
    if (checks_.empty() || !Data.EngineReady())
        return;
    const double chosen = EditArrowFactor->value();
    const double factor = chosen > 0 ? chosen : plot::arrow_factor(checks_);
    const double tolerance =
        plot::tolerance_for(plot::axis_extents(Data.Engine), std::max(PlanView->width(), 400) * 4);
    PlanView->SetPicture(plot::check_plan(
        Data.Engine, checks_, factor, texts_.language().GetText("check_arrow_factor"), tolerance));
    PicturePages->setCurrentWidget(PlanView);
}

void TFormRoadCalculate::BtnCheckFileClick() {
    const std::optional<FileChoice> choice = prompts_.openFile(texts_.filter("OPEN_FILTER"));
    if (!choice)
        return;
    DataState opened;
    Messages messages;
    open_data_file(QFile::encodeName(choice->fileName).toStdString(), opened, FileSettings{},
                   messages);
    for (const UserMessage& m : messages)
        if (m.kind == UserMessage::Kind::Key && m.value != "BINARY")
            prompts_.message(texts_.text(m.value, m.args) + fromGbk(m.suffix));
    check_points(check::measured_points_of(opened).value_or(std::vector<check::MeasuredPoint>{}));
}

void TFormRoadCalculate::BtnCheckShownClick() {
    if (!points_on_show_)
        return;
    check_points(
        check::measured_points_of(points_on_show_()).value_or(std::vector<check::MeasuredPoint>{}));
}

void TFormRoadCalculate::BtnCheckSaveClick() {
    if (checks_.empty())
        return;
    const std::optional<FileChoice> choice =
        prompts_.saveFile(texts_.filter("CHECK_REPORT_FILTER"), QStringLiteral(".csv"));
    const std::optional<QString> named =
        choice ? name_to_write(choice->fileName, QStringLiteral(".csv")) : std::nullopt;
    if (!named)
        return;
    const QString& name = *named;
    std::string error;
    const bool saved = check::save_report(
        QFile::encodeName(name).toStdString(), checks_,
        [this](std::string_view key) { return texts_.language().GetText(key); }, &error);
    const std::string file = toGbk(QDir::toNativeSeparators(name));
    show_message(saved ? RoadMessage{true, roadkeys::Saved, {file}}
                       : RoadMessage{true,
                                     roadkeys::SaveFailed,
                                     {file, toGbk(QString::fromLocal8Bit(error.c_str()))}});
}

} // namespace telvane::road
