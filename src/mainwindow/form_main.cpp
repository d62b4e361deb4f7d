#include "form_main.h"

#include "document/stored_settings.h"
#include "points_map.h"
#include "road/window/form_road.h"
#include "serial/port_link_host.h"
#include "settings/form_setting.h"
#include "texts/ini_file.h"
#include "ui/codec.h"
#include "ui/guard.h"
#include "ui/plot_view.h"
#include "ui/prompts.h"

#include "fileio/linkdata.h"
#include "fileio/opendata.h"
#include "fileio/savedata.h"
#include "model/filebytes.h"

#include <QAction>
#include <QClipboard>
#include <QCloseEvent>
#include <QComboBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QFontDatabase>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QLinearGradient>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QPlainTextDocumentLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QShowEvent>
#include <QStackedWidget>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTableView>
#include <QTextDocument>
#include <QVBoxLayout>

#include <algorithm>
#include <filesystem>

namespace telvane {

namespace {

constexpr int kDefaultLanguage = 1;

std::filesystem::path to_path(const QString& path) {
    return std::filesystem::path(path.toStdU16String());
}

// A path as the file functions below the windows take it (the system's file-name bytes).
std::string file_name_bytes(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

// The wait cursor while a file is read or written.
class BusyCursor {
public:
    BusyCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyCursor() { QGuiApplication::restoreOverrideCursor(); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
};

QPushButton* button(QWidget* parent, const char* name, const QString& caption) {
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(QLatin1String(name));
    b->setAutoDefault(false);
    return b;
}

QLabel* label(QWidget* parent, const char* name, const QString& caption) {
    auto* l = new QLabel(caption, parent);
    l->setObjectName(QLatin1String(name));
    return l;
}

QGroupBox* group(QWidget* parent, const char* name, const QString& caption) {
    auto* g = new QGroupBox(caption, parent);
    g->setObjectName(QLatin1String(name));
    return g;
}

// The picture at the bottom of the command column.
QPixmap logo_picture() {
    QPixmap pixmap(192, 59);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient gradient(0, 0, 0, 59);
    gradient.setColorAt(0, QColor(0x1f, 0x4e, 0x8c));
    gradient.setColorAt(1, QColor(0x0d, 0x2b, 0x52));
    p.setBrush(gradient);
    p.setPen(Qt::NoPen);
    p.drawRoundedRect(QRectF(0.5, 0.5, 191, 58), 6, 6);
    p.setPen(Qt::white);
    QFont big = p.font();
    big.setPixelSize(20);
    big.setBold(true);
    p.setFont(big);
    p.drawText(QRect(0, 4, 192, 30), Qt::AlignCenter, QStringLiteral("TORVIK"));
    QFont small = p.font();
    small.setPixelSize(12);
    small.setBold(false);
    p.setFont(small);
    p.drawText(QRect(0, 32, 192, 20), Qt::AlignCenter, QStringLiteral("Telvane  v1.6"));
    return pixmap;
}

} // namespace

class TForm1::LinkAdapter : public PortLinkHost {
public:
    explicit LinkAdapter(TForm1& form) : PortLinkHost(form.ComPort1, form.Timer1), form_(form) {}

    void status(int panel, std::string_view key, std::optional<long long> count) override {
        QString text = form_.texts().text(key);
        if (count)
            text += QString::number(*count);
        form_.SetStatusPanel(panel, text);
    }
    void ended(LinkEnd how) override { form_.link_ended(how); }
    void received(const Lines& lines) override { form_.link_received(lines); }
    void capture(std::string_view bytes) override { form_.capture_.append(bytes); }

private:
    TForm1& form_;
};

TForm1::TForm1(AppPaths paths, Prompts& prompts, QWidget* parent)
    : QMainWindow(parent), link_host_(std::make_unique<LinkAdapter>(*this)), Link1(*link_host_),
      paths_(std::move(paths)), prompts_(prompts) {
    setObjectName("Form1");
    // The instrument's line as this window uses it; the INI file chooses port and rate below.
    ComPort1.SetPort(QStringLiteral("COM3"));
    ComPort1.SetBaudRate(kBaud115200);
    Timer1.setSingleShot(true);
    build_layout();
    connect_commands();
    FormCreate();
}

TForm1::~TForm1() {
    // The table asks for its header texts while the window goes; the language table is gone by
    // then.
    StrGrid->setModel(nullptr);
}

void TForm1::build_layout() {
    resize(922, 646);
    auto* central = new QWidget(this);
    auto* columns = new QHBoxLayout(central);
    columns->setContentsMargins(4, 4, 4, 4);
    columns->setSpacing(6);

    // Left: the table and, in the same place, the text view.
    auto* views = new QWidget(central);
    auto* views_layout = new QVBoxLayout(views);
    views_layout->setContentsMargins(0, 0, 0, 0);
    StrGrid = new QTableView(views);
    StrGrid->setObjectName("StrGrid");
    StrGrid->hide();
    StrGridModel =
        new DataTableModel([this](std::string_view key) { return texts().text(key); }, StrGrid);
    StrGrid->setModel(StrGridModel);
    auto* delegate = new CellDelegate(StrGrid);
    StrGrid->setItemDelegate(delegate);
    StrGrid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    StrGrid->verticalHeader()->hide();
    StrGrid->verticalHeader()->setDefaultSectionSize(20);
    StrGrid->horizontalHeader()->setDefaultSectionSize(kDefaultColumnWidth);
    StrGrid->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    StrGrid->setSelectionMode(QAbstractItemView::ContiguousSelection);
    connect(StrGridModel, &DataTableModel::edited, this, [this] { apply_command_states(); });
    // Refusals come from inside an editor's key or commit handling: the message waits until
    // that is over (a modal box run from there closes and deletes the editor under it).
    connect(StrGridModel, &DataTableModel::refused, this, &TForm1::cell_refused,
            Qt::QueuedConnection);
    connect(delegate, &CellDelegate::refused, this, &TForm1::cell_refused, Qt::QueuedConnection);
    auto* copy = new QAction(StrGrid);
    copy->setShortcut(QKeySequence::Copy);
    copy->setShortcutContext(Qt::WidgetShortcut);
    StrGrid->addAction(copy);
    connect(copy, &QAction::triggered, this,
            [this] { guarded(prompts_, [this] { CopySelection(); }); });
    auto* paste = new QAction(StrGrid);
    paste->setShortcut(QKeySequence::Paste);
    paste->setShortcutContext(Qt::WidgetShortcut);
    StrGrid->addAction(paste);
    connect(paste, &QAction::triggered, this, [this] {
        guarded(prompts_, [this] { PasteCells(QGuiApplication::clipboard()->text()); });
    });
    setAcceptDrops(true);
    MeasText = new QPlainTextEdit(views);
    MeasText->setObjectName("MeasText");
    MeasText->setReadOnly(true);
    MeasText->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    MeasText->setLineWrapMode(QPlainTextEdit::NoWrap);
    QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    fixed.setFamilies({QStringLiteral("WenQuanYi Micro Hei Mono"), fixed.family()});
    fixed.setStyleHint(QFont::Monospace);
    fixed.setPixelSize(16);
    MeasText->setFont(fixed);
    views_layout->addWidget(StrGrid);
    views_layout->addWidget(MeasText);
    columns->addWidget(views, 1);

    // Right: the command column, two pages without tabs.
    PageControl1 = new QStackedWidget(central);
    PageControl1->setObjectName("PageControl1");
    PageControl1->setFixedWidth(200);
    auto* page0 = new QWidget(PageControl1);
    auto* page0_layout = new QVBoxLayout(page0);
    page0_layout->setContentsMargins(0, 0, 0, 0);

    ComportSettingGroup = group(page0, "ComportSettingGroup", QStringLiteral("串口设置"));
    auto* port_layout = new QGridLayout(ComportSettingGroup);
    Label11 = label(ComportSettingGroup, "Label11", QStringLiteral("串口号 "));
    Label12 = label(ComportSettingGroup, "Label12", QStringLiteral("波特率 "));
    ComComboBox7 = new TComComboBox(ComportSettingGroup);
    ComComboBox7->setObjectName("ComComboBox7");
    ComComboBox7->SetAutoApply(true);
    ComComboBox8 = new TComComboBox(ComportSettingGroup);
    ComComboBox8->setObjectName("ComComboBox8");
    ComComboBox8->SetAutoApply(true);
    port_layout->addWidget(Label11, 0, 0);
    port_layout->addWidget(ComComboBox7, 0, 1);
    port_layout->addWidget(Label12, 1, 0);
    port_layout->addWidget(ComComboBox8, 1, 1);
    port_layout->setColumnStretch(1, 1);
    page0_layout->addWidget(ComportSettingGroup);

    TransControlGroup = group(page0, "TransControlGroup", QStringLiteral("传输控制"));
    auto* trans_layout = new QHBoxLayout(TransControlGroup);
    ReceiveBtn = button(TransControlGroup, "ReceiveBtn", QStringLiteral("接收"));
    SendBtn = button(TransControlGroup, "SendBtn", QStringLiteral("发送"));
    StopBtn = button(TransControlGroup, "StopBtn", QStringLiteral("停止"));
    for (auto* b : {ReceiveBtn, SendBtn, StopBtn}) {
        b->setMinimumWidth(50);
        trans_layout->addWidget(b);
    }
    page0_layout->addWidget(TransControlGroup);

    FileControlGroup = group(page0, "FileControlGroup", QStringLiteral("数据管理"));
    auto* file_layout = new QGridLayout(FileControlGroup);
    CoordBtn = button(FileControlGroup, "CoordBtn", QStringLiteral("坐标"));
    CodeBtn = button(FileControlGroup, "CodeBtn", QStringLiteral("编码"));
    RoadCalcBtn = button(FileControlGroup, "RoadCalcBtn", QStringLiteral("道路放样"));
    OpenBtn = button(FileControlGroup, "OpenBtn", QStringLiteral("打开"));
    SaveBtn = button(FileControlGroup, "SaveBtn", QStringLiteral("保存"));
    SettingBtn = button(FileControlGroup, "SettingBtn", QStringLiteral("设置"));
    HelpBtn = button(FileControlGroup, "HelpBtn", QStringLiteral("帮助"));
    file_layout->addWidget(CoordBtn, 0, 0);
    file_layout->addWidget(CodeBtn, 0, 1);
    file_layout->addWidget(RoadCalcBtn, 1, 0, 1, 2);
    MapBtn = button(FileControlGroup, "MapBtn", QStringLiteral("点位图"));
    file_layout->addWidget(MapBtn, 4, 0, 1, 2);
    file_layout->addWidget(OpenBtn, 2, 0);
    file_layout->addWidget(SaveBtn, 2, 1);
    file_layout->addWidget(SettingBtn, 3, 0);
    file_layout->addWidget(HelpBtn, 3, 1);
    UndoBtn = button(FileControlGroup, "UndoBtn", QStringLiteral("撤销"));
    RedoBtn = button(FileControlGroup, "RedoBtn", QStringLiteral("重做"));
    file_layout->addWidget(UndoBtn, 5, 0);
    file_layout->addWidget(RedoBtn, 5, 1);
    page0_layout->addWidget(FileControlGroup);

    auto* language_row = new QHBoxLayout;
    LblLanguage = label(page0, "LblLanguage", QStringLiteral("语言"));
    vLanguage = new QComboBox(page0);
    vLanguage->setObjectName("vLanguage");
    language_row->addWidget(LblLanguage);
    language_row->addWidget(vLanguage, 1);
    page0_layout->addSpacing(6);
    page0_layout->addLayout(language_row);

    ExitBtn = button(page0, "ExitBtn", QStringLiteral("退出"));
    page0_layout->addSpacing(6);
    page0_layout->addWidget(ExitBtn);
    page0_layout->addStretch(1);
    Image1 = new QLabel(page0);
    Image1->setObjectName("Image1");
    Image1->setFixedSize(192, 59);
    Image1->setScaledContents(true);
    Image1->setPixmap(logo_picture());
    page0_layout->addWidget(Image1, 0, Qt::AlignHCenter);

    auto* page1 = new QWidget(PageControl1);
    auto* page1_layout = new QVBoxLayout(page1);
    page1_layout->setContentsMargins(0, 0, 0, 0);
    AppendBtn = button(page1, "AppendBtn", QStringLiteral("添加"));
    InsertBtn = button(page1, "InsertBtn", QStringLiteral("插入"));
    DelBtn = button(page1, "DelBtn", QStringLiteral("删除"));
    OKBtn = button(page1, "OKBtn", QStringLiteral("返回"));
    UndoBtn2 = button(page1, "UndoBtn2", QStringLiteral("撤销"));
    RedoBtn2 = button(page1, "RedoBtn2", QStringLiteral("重做"));
    for (auto* b : {AppendBtn, InsertBtn, DelBtn, OKBtn, UndoBtn2, RedoBtn2})
        page1_layout->addWidget(b);
    page1_layout->addStretch(1);

    PageControl1->addWidget(page0);
    PageControl1->addWidget(page1);
    columns->addWidget(PageControl1);
    setCentralWidget(central);

    StatusBar1 = new QStatusBar(this);
    StatusBar1->setObjectName("StatusBar1");
    StatusBar1->setSizeGripEnabled(false);
    const char* initial[3] = {"Welcome", "Total: 0", ""};
    for (int i = 0; i < 3; ++i) {
        panels_[i] = new QLabel(QLatin1String(initial[i]), StatusBar1);
        panels_[i]->setObjectName(QStringLiteral("StatusPanel%1").arg(i));
        panels_[i]->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
        panels_[i]->setContentsMargins(4, 0, 4, 0);
        if (i < 2)
            panels_[i]->setFixedWidth(i == 0 ? 200 : 100);
        else // a long hint (a capture file's path) is cut, never widens the window
            panels_[i]->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
        StatusBar1->addWidget(panels_[i], i == 2 ? 1 : 0);
    }
    setStatusBar(StatusBar1);

    // Hints follow the mouse over these buttons.
    for (auto* b : {ReceiveBtn, SendBtn, StopBtn, SettingBtn}) {
        b->setMouseTracking(true);
        b->installEventFilter(this);
    }

    // Centred on the screen at start; on a screen smaller than the window its top-left corner
    // stays on the screen, so the title bar can still be reached.
    const QRect area = screen()->availableGeometry();
    move(std::max(area.left(), area.center().x() - width() / 2),
         std::max(area.top(), area.center().y() - height() / 2));
}

Document& EditDocument(TForm1& form) {
    return form.doc_;
}

void TForm1::run(void (TForm1::*command)()) {
    guarded(prompts_, [this, command] { (this->*command)(); });
}

void TForm1::connect_commands() {
    const std::pair<QPushButton*, void (TForm1::*)()> commands[] = {
        {ReceiveBtn, &TForm1::ReceiveBtnClick}, {SendBtn, &TForm1::SendBtnClick},
        {StopBtn, &TForm1::StopBtnClick},       {CoordBtn, &TForm1::CoordBtnClick},
        {CodeBtn, &TForm1::CodeBtnClick},       {RoadCalcBtn, &TForm1::RoadCalcBtnClick},
        {OpenBtn, &TForm1::OpenBtnClick},       {SaveBtn, &TForm1::SaveBtnClick},
        {SettingBtn, &TForm1::SettingBtnClick}, {HelpBtn, &TForm1::HelpBtnClick},
        {ExitBtn, &TForm1::ExitBtnClick},       {AppendBtn, &TForm1::AppendBtnClick},
        {InsertBtn, &TForm1::InsertBtnClick},   {DelBtn, &TForm1::DelBtnClick},
        {OKBtn, &TForm1::OKBtnClick},           {MapBtn, &TForm1::MapBtnClick},
        {UndoBtn, &TForm1::UndoBtnClick},       {RedoBtn, &TForm1::RedoBtnClick},
        {UndoBtn2, &TForm1::UndoBtnClick},      {RedoBtn2, &TForm1::RedoBtnClick},
    };
    for (auto [b, command] : commands)
        connect(b, &QPushButton::clicked, this, [this, command = command] { run(command); });
    // Keys of the commands; a key does what a click on its button would, when that is possible.
    const std::pair<QKeySequence, std::pair<QPushButton*, QPushButton*>> keys[] = {
        {QKeySequence::Open, {OpenBtn, nullptr}},
        {QKeySequence::Save, {SaveBtn, nullptr}},
        {QKeySequence::HelpContents, {HelpBtn, nullptr}},
        {QKeySequence::Undo, {UndoBtn, UndoBtn2}},
        {QKeySequence(Qt::CTRL | Qt::Key_Y), {RedoBtn, RedoBtn2}},
        {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), {RedoBtn, RedoBtn2}},
    };
    for (const auto& [key, pair] : keys) {
        auto* action = new QAction(this);
        action->setShortcut(key);
        action->setShortcutContext(Qt::WindowShortcut);
        addAction(action);
        connect(action, &QAction::triggered, this, [this, pair = pair] {
            for (QPushButton* b : {pair.first, pair.second})
                if (b && b->isEnabled() && b->isVisibleTo(this) && isEnabled()) {
                    b->click();
                    return;
                }
        });
    }
    // Delete removes the row of the current cell on the editing page (while a cell is being
    // typed into, the key stays the editor's).
    auto* remove_row = new QAction(StrGrid);
    remove_row->setShortcut(QKeySequence::Delete);
    remove_row->setShortcutContext(Qt::WidgetShortcut);
    StrGrid->addAction(remove_row);
    connect(remove_row, &QAction::triggered, this, [this] {
        if (DelBtn->isEnabled() && DelBtn->isVisibleTo(this))
            DelBtn->click();
    });
    connect(vLanguage, &QComboBox::activated, this,
            [this](int index) { guarded(prompts_, [&] { vLanguageChange(index); }); });
    connect(&ComPort1, &TComPort::LineError, this, &TForm1::ComPort1LineError);
    connect(&ComPort1, &TComPort::RxChar, this,
            [this](int count) { guarded(prompts_, [&] { ComPort1RxChar(count); }); });
    connect(&Timer1, &QTimer::timeout, this,
            [this] { guarded(prompts_, [this] { Timer1Timer(); }); });
    for (auto* selector : {ComComboBox7, ComComboBox8})
        connect(selector, &TComComboBox::ApplyFailed, this,
                [this] { SetStatusPanel(0, texts().text("port_setting_error")); });
}

QString TForm1::StatusPanel(int index) const {
    return panels_[index]->text();
}

void TForm1::SetStatusPanel(int index, const QString& text) {
    panels_[index]->setText(text);
}

void TForm1::SetSettingsDialog(TForm2* dialog) {
    settings_ = dialog;
    connect(dialog, &TForm2::Closed, this, &TForm1::SettingsClosed);
    connect(dialog, &TForm2::UnitsConfirmed, this,
            [this](const QString& text) { SetStatusPanel(2, text); });
}

void TForm1::FormCreate() {
    language_ = std::make_unique<TLanguage>(to_path(paths_.directory));
    texts_ = std::make_unique<UiText>(*language_, prompts_);

    IniFile ini = IniFile::load(to_path(paths_.iniPath));
    StoredSettings stored = read_settings(ini);
    long long index = stored.Language;
    const auto languages = static_cast<long long>(language_->LanguageNames().size());
    if (index < 0 || index >= languages)
        index = kDefaultLanguage;
    // With a single language the fallback itself lies outside the table.
    if (index >= languages)
        index = 0;
    language_->SelectLanguage(static_cast<int>(index));
    stored.Language = static_cast<int>(index);
    write_settings(ini, stored, kLanguageSetting);
    if (!ini.save(to_path(paths_.iniPath)))
        qWarning("The settings could not be written to %s", qUtf8Printable(paths_.iniPath));
    // HELP.txt was unreadable: say so in the language just chosen.
    if (!language_->HelpLoaded())
        texts_->message("no_helptext");

    PageControl1->setCurrentIndex(0);
    apply_command_states();

    vLanguage->clear();
    for (const auto& name : language_->LanguageNames())
        vLanguage->addItem(fromGbk(name));

    ApplyTexts();
    help_shown_ = true;

    // Each selector is bound on its own: a machine without serial devices still gets its baud
    // rates listed, so the stored rate is not lost at the next close.
    bool bound = true;
    const QString typed = QString::fromStdString(stored.PortName);
    try {
        ComComboBox7->SetComPort(&ComPort1);
        ComComboBox7->SetComProperty(ComProperty::Port);
        const long long port = stored.Port;
        ComComboBox7->setCurrentIndex(
            port >= 0 && port < ComComboBox7->count() ? static_cast<int>(port) : -1);
        // A device typed by the user is kept by its name: its place in the list may change.
        if (!typed.isEmpty() && ComComboBox7->GetText() != typed)
            ComComboBox7->SelectDevice(typed);
        ComPort1.SetPort(ComComboBox7->GetText());
    } catch (const std::exception&) {
        // No device listed: one the user typed before still serves.
        bound = !typed.isEmpty();
        if (bound) {
            ComComboBox7->SelectDevice(typed);
            ComPort1.SetPort(typed);
        }
    }
    try {
        ComComboBox8->SetComPort(&ComPort1);
        ComComboBox8->SetComProperty(ComProperty::BaudRate);
        const long long baud = stored.Baudrate;
        const bool listed = baud >= 0 && baud < ComComboBox8->count();
        ComComboBox8->setCurrentIndex(listed ? static_cast<int>(baud) : -1);
        if (listed)
            ComPort1.SetBaudRate(static_cast<int>(baud));
    } catch (const std::exception&) {
        bound = false;
    }
    if (!bound)
        texts_->message("no_comport");
}

void TForm1::ApplyTexts() {
    const UiText& t = texts();
    update_title();
    MeasText->clear();
    ComportSettingGroup->setTitle(t.text("comportgroup"));
    Label11->setText(t.text("comportnumlab"));
    Label12->setText(t.text("baudratelab"));
    TransControlGroup->setTitle(t.text("transcontrolgroup"));
    ReceiveBtn->setText(t.text("receivebtn"));
    SendBtn->setText(t.text("sendbtn"));
    StopBtn->setText(t.text("stopbtn"));
    FileControlGroup->setTitle(t.text("DataManage"));
    CoordBtn->setText(t.text("coordbtn"));
    CodeBtn->setText(t.text("codebtn"));
    RoadCalcBtn->setText(t.text("road_calculate"));
    OpenBtn->setText(t.text("openbtn"));
    SaveBtn->setText(t.text("savebtn"));
    SettingBtn->setText(t.text("settingbtn"));
    HelpBtn->setText(t.text("helpbtn"));
    LblLanguage->setText(t.text("Language"));
    ExitBtn->setText(t.text("Exit"));
    AppendBtn->setText(t.text("appendbtn"));
    InsertBtn->setText(t.text("insertbtn"));
    DelBtn->setText(t.text("deletebtn"));
    OKBtn->setText(t.text("returnbtn"));
    for (QPushButton* b : {UndoBtn, UndoBtn2})
        b->setText(t.text("undobtn"));
    for (QPushButton* b : {RedoBtn, RedoBtn2})
        b->setText(t.text("redobtn"));
    MapBtn->setText(t.text("mapbtn"));
    if (PointsMap)
        PointsMap->ApplyTexts();
    SetStatusPanel(1, t.text("total") + QStringLiteral("0"));
    vLanguage->setCurrentIndex(language_->LanguageIndex());
}

void TForm1::show_help() {
    // The help takes the place of the view; the data stays in its lists, and the commands act
    // on it as they would with it on show.
    help_shown_ = true;
    StrGrid->hide();
    MeasText->show();
    const QString help = texts().text(kHelpKey);
    MeasText->setPlainText(help);
    if (help.trimmed().isEmpty())
        texts().message("helptext_damage");
    MeasText->verticalScrollBar()->setValue(0);
    MeasText->moveCursor(QTextCursor::Start);
}

void TForm1::HelpBtnClick() {
    show_help();
}

void TForm1::leave_help() {
    if (!help_shown_)
        return;
    help_shown_ = false;
    InitDataShowView();
    RefleshDataShowView();
}

void TForm1::FormPaint() {
    // The help stays on show until a receive, an opened file or the road window replace it; the
    // window puts it back whenever it comes back into view while that holds.
    if (help_shown_)
        show_help();
}

void TForm1::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (!event->spontaneous())
        guarded(prompts_, [this] { FormPaint(); });
}

void TForm1::vLanguageChange(int index) {
    if (index < 0 || index >= static_cast<int>(language_->LanguageNames().size()))
        return;
    language_->SelectLanguage(index);
    // The language chosen is the one of the next start too.
    IniFile ini = IniFile::load(to_path(paths_.iniPath));
    StoredSettings stored = read_settings(ini);
    stored.Language = index;
    write_settings(ini, stored, kLanguageSetting);
    if (!ini.save(to_path(paths_.iniPath)))
        qWarning("The settings could not be written to %s", qUtf8Printable(paths_.iniPath));
    ApplyTexts();
    if (help_shown_) {
        show_help();
    } else {
        InitDataShowView();
        RefleshDataShowView();
    }
}

void TForm1::SettingBtnClick() {
    if (!settings_)
        return;
    setEnabled(false);
    // Shown first: showing reloads the dialog's texts, which sets its size.
    settings_->show();
    settings_->adjustSize();
    const QRect main = frameGeometry();
    const QRect dialog = settings_->frameGeometry();
    settings_->move(main.left() + main.width() / 2 - dialog.width() / 2,
                    main.top() + main.height() / 2 - dialog.height() / 2);
    settings_->raise();
    settings_->activateWindow();
}

void TForm1::SettingsClosed() {
    setEnabled(true);
    InitDataShowView();
    RefleshDataShowView();
    FormPaint();
}

void TForm1::ExitBtnClick() {
    close();
}

void TForm1::closeEvent(QCloseEvent* event) {
    // A transfer under way, and data that exists nowhere else, are not dropped without a word.
    if (!closed_)
        for (const std::string_view key :
             doc_.close_questions(Link1.busy(), road_ && road_->HasUnsavedChanges()))
            if (texts().question(key) != 1) {
                event->ignore();
                return;
            }
    if (!closed_ && Link1.busy())
        Link1.stop();
    if (!closed_) {
        closed_ = true;
        guarded(prompts_, [this] { FormClose(); });
    }
    QMainWindow::closeEvent(event);
    emit Closed();
}

void TForm1::FormClose() {
    IniFile ini = IniFile::load(to_path(paths_.iniPath));
    try {
        ComPort1.Close();
    } catch (const ComPortError&) {
        // The port is closed all the same; the positions below must still be kept.
    }
    StoredSettings stored = read_settings(ini);
    stored.Port = ComComboBox7->currentIndex();
    // A device the system does not list is kept by its name as well.
    const QString device = ComComboBox7->GetText();
    bool listed = false;
    try {
        listed = TComPort::EnumComPorts().contains(device);
    } catch (const ComPortError&) {
    }
    stored.PortName = !listed && !device.isEmpty() ? device.toStdString() : std::string();
    stored.Baudrate = ComComboBox8->currentIndex();
    stored.Language = language_->LanguageIndex();
    write_settings(ini, stored, kPortSettings | kLanguageSetting);
    if (!ini.save(to_path(paths_.iniPath)))
        qWarning("The settings could not be written to %s", qUtf8Printable(paths_.iniPath));
}

void TForm1::ButtonMouseMove(QPushButton* b, const QPoint& at) {
    // Inside the button, leaving out its outermost row and column of pixels.
    const bool inside =
        (at.x() >= 1 && at.x() <= b->width() - 1) || (at.y() >= 1 && at.y() <= b->height() - 1);
    if (b == ReceiveBtn)
        SetStatusPanel(2, inside ? texts().text("hint_receivebtn") : QString());
    else if (b == SendBtn)
        SetStatusPanel(2, inside ? texts().text("hint_sendbtn") : QString());
    else if (b == StopBtn)
        SetStatusPanel(2, QString());
    else if (b == SettingBtn && settings_)
        SetStatusPanel(2, texts().text("hint_settingbtn") + settings_->angle_unit_text() +
                              QStringLiteral(", ") + settings_->distance_unit_text());
}

bool TForm1::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseMove)
        if (auto* b = qobject_cast<QPushButton*>(watched))
            ButtonMouseMove(b, static_cast<QMouseEvent*>(event)->position().toPoint());
    return QMainWindow::eventFilter(watched, event);
}

FileSettings TForm1::Settings() const {
    return settings_ ? settings_->file_settings() : FileSettings{};
}

void TForm1::show_total(std::size_t count) {
    SetStatusPanel(1, texts().text("total") + QString::number(count));
}

void TForm1::set_column_widths() {
    const QList<int> widths = StrGridModel->columnWidths();
    for (int i = 0; i < widths.size(); ++i)
        StrGrid->setColumnWidth(i, widths[i]);
}

void TForm1::show_messages(const Messages& messages) {
    for (const UserMessage& m : messages) {
        if (m.kind == UserMessage::Kind::Key && !m.args.empty())
            prompts_.message(texts().text(m.value, m.args));
        else if (m.kind == UserMessage::Kind::Key && !m.suffix.empty())
            prompts_.message(texts().text(m.value) + fromGbk(m.suffix));
        else if (m.kind == UserMessage::Kind::Key)
            texts().message(m.value);
        else if (m.caption.empty())
            prompts_.message(fromGbk(m.value));
        else
            prompts_.captioned(fromGbk(m.caption), fromGbk(m.value));
    }
}

void TForm1::set_view_text(QString text) {
    // A job of a million records has two million lines, and the text document's cost goes by
    // its blocks, not its characters: lines are grouped 32 to a block with line separators,
    // which show and copy as line ends. The document is filled before the view sees it, so
    // the view's cursors and layout are not updated line by line.
    constexpr int kLinesPerBlock = 32;
    int line = 0;
    for (QChar& c : text)
        if (c == QLatin1Char('\n') && ++line % kLinesPerBlock != 0)
            c = QChar::LineSeparator;
    auto* document = new QTextDocument(MeasText);
    document->setDocumentLayout(new QPlainTextDocumentLayout(document));
    document->setDefaultFont(MeasText->font());
    document->setUndoRedoEnabled(false);
    document->setPlainText(text);
    // The view deletes a document it made itself; one made here is deleted here.
    QTextDocument* old = MeasText->document();
    const bool made_here = old && old->parent() == MeasText;
    MeasText->setDocument(document);
    if (made_here)
        delete old;
}

void TForm1::InitDataShowView() {
    apply_command_states();
    const DataKind kind = doc_.kind();
    SaveFilter = kind == DataKind::Points || kind == DataKind::Points3 ? "SAVE_COORD_FILTER"
                 : kind == DataKind::Codes                             ? "SAVE_CODE_FILTER"
                                                                       : "SAVE_JOB_FILTER";
    if (help_shown_)
        return; // behind the help the view is not on show
    if (kind == DataKind::Records) {
        MeasText->show();
        StrGrid->hide();
        MeasText->clear();
        return;
    }
    MeasText->hide();
    StrGrid->show();
    StrGridModel->showEmpty(kind, doc_.data().Road, Settings().order);
    set_column_widths();
}

void TForm1::RefleshDataShowView() {
    if (help_shown_)
        return;
    const FileSettings s = Settings();
    const DataState& data = doc_.data();
    if (data.Kind == DataKind::Records) {
        set_view_text(fromGbk(doc_.job_view(s.units)));
        MeasText->moveCursor(QTextCursor::Start);
        MeasText->verticalScrollBar()->setValue(0);
        show_total(data.RecordList.size());
        update_map();
        return;
    }
    const std::size_t count = list_size(data);
    if (count == 0)
        return;
    StrGridModel->showData(&data, s.order, s.units);
    set_column_widths();
    StrGrid->scrollToTop();
    show_total(count);
    update_map();
}

void TForm1::show_document() {
    if (const EditGrid* grid = doc_.grid()) {
        help_shown_ = false;
        MeasText->hide();
        StrGrid->show();
        const bool entering = PageControl1->currentIndex() != 1;
        StrGridModel->showGrid(grid, Settings().order,
                               [this](std::size_t row, int column, std::string text) {
                                   return doc_.set_cell(row, column, std::move(text));
                               });
        set_column_widths();
        StrGrid->setEditTriggers(
            QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
            QAbstractItemView::AnyKeyPressed | QAbstractItemView::SelectedClicked);
        PageControl1->setCurrentIndex(1);
        if (entering) {
            StrGrid->setCurrentIndex(StrGridModel->index(0, 1));
            StrGrid->setFocus();
        }
        show_total(grid->rows());
    } else {
        if (PageControl1->currentIndex() != 0) {
            StrGrid->setEditTriggers(QAbstractItemView::NoEditTriggers);
            PageControl1->setCurrentIndex(0);
            SetStatusPanel(0, QString());
        }
        InitDataShowView();
        RefleshDataShowView();
    }
    apply_command_states();
}

void TForm1::apply_command_states() {
    const LinkActivity link = Link1.mode() == kLinkReceiving ? LinkActivity::Receiving
                              : Link1.busy()                 ? LinkActivity::Sending
                                                             : LinkActivity::Idle;
    const CommandStates c = doc_.commands(link);
    ReceiveBtn->setEnabled(c.Receive);
    SendBtn->setEnabled(c.Send);
    StopBtn->setEnabled(c.Stop);
    ComportSettingGroup->setEnabled(c.PortSettings);
    FileControlGroup->setEnabled(c.Open);
    for (auto [b, on] : {std::pair{CoordBtn, c.Points},
                         {CodeBtn, c.Codes},
                         {RoadCalcBtn, c.Road},
                         {MapBtn, c.Map},
                         {OpenBtn, c.Open},
                         {SaveBtn, c.Save},
                         {SettingBtn, c.Settings},
                         {HelpBtn, c.Help},
                         {AppendBtn, c.Append},
                         {InsertBtn, c.Insert},
                         {DelBtn, c.Delete},
                         {OKBtn, c.Done},
                         {UndoBtn, c.Undo},
                         {RedoBtn, c.Redo},
                         {UndoBtn2, c.Undo},
                         {RedoBtn2, c.Redo}})
        b->setEnabled(on);
    vLanguage->setEnabled(c.Language);
}

QString TForm1::capture_folder() const {
    if (!paths_.captureDir.isEmpty())
        return paths_.captureDir;
    return QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation) +
           QStringLiteral("/captures");
}

QString TForm1::CaptureFileName() const {
    return QString::fromStdU16String(capture_.path().u16string());
}

void TForm1::link_ended(LinkEnd) {
    capture_.end();
    apply_command_states();
}

void TForm1::link_received(const Lines& lines) {
    Messages messages;
    if (doc_.receive(lines, messages)) {
        help_shown_ = false;
        current_file_.clear();
        update_title();
    }
    show_document();
    show_messages(messages);
}

bool TForm1::confirm(Question q) {
    return q == Question::None || texts().question(question_key(q)) == 1;
}

void TForm1::ReceiveBtnClick() {
    if (ComComboBox7->GetText().isEmpty()) {
        texts().message("no_comport");
        return;
    }
    if (!confirm(doc_.receive_question()))
        return;
    doc_.discard_for_receive();
    show_document();
    if (!Link1.start_receive())
        return;
    leave_help();
    apply_command_states();
    // Every byte also goes to a capture file, so that nothing received can be lost.
    std::string error;
    if (capture_.begin(to_path(capture_folder()), &error))
        SetStatusPanel(2, texts().text("capture_file") + CaptureFileName());
    else
        SetStatusPanel(2, texts().text("capture_failed") + QString::fromLocal8Bit(error.c_str()));
}

void TForm1::SendBtnClick() {
    if (ComComboBox7->GetText().isEmpty()) {
        texts().message("no_comport");
        return;
    }
    SendPlan plan = prepare_send_lines(doc_.data());
    if (!plan.refusal.empty()) {
        QString text;
        for (const std::string& key : plan.refusal)
            text += texts().text(key);
        prompts_.message(text);
        return;
    }
    if (Link1.start_send(std::move(plan.lines)))
        apply_command_states();
}

void TForm1::StopBtnClick() {
    Link1.stop();
}

void TForm1::ComPort1RxChar(int count) {
    PortLinkHost::forward_bytes(ComPort1, Link1, count);
}

void TForm1::Timer1Timer() {
    Link1.timer_fired();
}

void TForm1::SetRoadWindow(road::TFormRoadCalculate* window) {
    road_ = window;
    connect(window, &road::TFormRoadCalculate::Exited, this, &TForm1::RoadWindowExited);
    // The Check page checks the points on show here (received ones among them).
    window->SetPointsOnShow([this]() -> const DataState& { return doc_.data(); });
}

void TForm1::RoadCalcBtnClick() {
    if (!road_)
        return;
    // The main window waits while the road window is up; Exit there brings it back.
    setEnabled(false);
    road_->show();
    road_->raise();
    road_->activateWindow();
}

void TForm1::update_map() {
    if (PointsMap && PointsMap->isVisible())
        PointsMap->SetPoints(points_to_draw(doc_.data()));
}

void TForm1::MapBtnClick() {
    if (!PointsMap) {
        PointsMap = new TFormPointsMap(texts(), this);
        // A point clicked on the map is the row of the table (the job's points have none).
        connect(PointsMap, &TFormPointsMap::PointClicked, this, [this](int index) {
            if (doc_.kind() == DataKind::Points || doc_.kind() == DataKind::Points3)
                StrGrid->setCurrentIndex(StrGridModel->index(index, 1));
        });
        connect(PointsMap, &TFormPointsMap::SaveRequested, this, [this] {
            guarded(prompts_, [this] {
                const std::optional<FileChoice> choice =
                    choose_save_file(texts().filter("PICTURE_FILTER"));
                if (choice &&
                    !PointsMap->MapView->Save(choice->fileName, texts().text("map_window")))
                    prompts_.message(texts().text("file_save_failed") + QStringLiteral("\n") +
                                     choice->fileName);
            });
        });
    }
    PointsMap->ApplyTexts();
    PointsMap->show();
    PointsMap->raise();
    PointsMap->SetPoints(points_to_draw(doc_.data()));
}

void TForm1::RoadWindowExited() {
    leave_help();
    setEnabled(true);
    show();
    raise();
    activateWindow();
}

std::size_t TForm1::selected_row() const {
    const QModelIndex at = StrGrid->currentIndex();
    return at.isValid() ? static_cast<std::size_t>(at.row()) : 0;
}

void TForm1::CoordBtnClick() {
    leave_help();
    if (!confirm(doc_.points_question()))
        return;
    const FileSettings s = Settings();
    const std::string_view key = doc_.points(s.order, s.units);
    if (!key.empty()) {
        texts().message(key);
        return;
    }
    show_document();
}

void TForm1::CodeBtnClick() {
    leave_help();
    if (!confirm(doc_.codes_question()))
        return;
    const FileSettings s = Settings();
    doc_.codes(s.order, s.units);
    show_document();
}

void TForm1::grid_rows_changed(std::size_t current) {
    StrGridModel->gridChanged();
    set_column_widths();
    const EditGrid* grid = doc_.grid();
    const std::size_t rows = grid ? grid->rows() : 0;
    if (rows > 0)
        StrGrid->setCurrentIndex(
            StrGridModel->index(static_cast<int>(std::min(current, rows - 1)),
                                std::max(StrGrid->currentIndex().column(), 1)));
    show_total(rows);
    apply_command_states();
}

void TForm1::AppendBtnClick() {
    if (!doc_.grid())
        return;
    doc_.append_row();
    grid_rows_changed(doc_.grid()->rows() - 1);
}

void TForm1::InsertBtnClick() {
    if (!doc_.grid())
        return;
    const std::size_t row = selected_row();
    doc_.insert_row(row);
    grid_rows_changed(row);
}

void TForm1::DelBtnClick() {
    if (!doc_.grid())
        return;
    if (!prompts_.yesNo(texts().text("delete"), texts().text("if_delete_file")))
        return;
    const std::size_t row = selected_row();
    doc_.delete_row(row);
    grid_rows_changed(row);
}

void TForm1::OKBtnClick() {
    // A cell still being typed into is committed (and checked) first.
    if (QWidget* focus = QApplication::focusWidget(); focus && StrGrid->isAncestorOf(focus))
        focus->clearFocus();
    if (doc_.grid()) {
        const FileSettings s = Settings();
        const TakeOutcome o = doc_.done(s.order, s.units);
        if (!o.ok()) {
            // The message names the cell, which is selected: the page stays.
            const int column = std::max(o.column, 1);
            const QString header =
                StrGridModel->headerData(column, Qt::Horizontal).toString().trimmed();
            prompts_.message(texts().text(o.key) + QLatin1Char('\n') +
                             texts().text("at_cell", {std::to_string(o.row + 1), toGbk(header)}));
            StrGrid->setCurrentIndex(StrGridModel->index(static_cast<int>(o.row), column));
            return;
        }
    }
    show_document();
}

void TForm1::UndoBtnClick() {
    StrGrid->setFocus(); // an open cell editor commits first
    doc_.undo();
    show_document();
}

void TForm1::RedoBtnClick() {
    StrGrid->setFocus();
    doc_.redo();
    show_document();
}

void TForm1::cell_refused(const QString& key, int row, int column) {
    const bool in_grid = StrGridModel->grid() && row < StrGridModel->rowCount() &&
                         column < StrGridModel->columnCount();
    const QModelIndex at = in_grid ? StrGridModel->index(row, column) : QModelIndex();
    const bool editing = at.isValid() && StrGrid->indexWidget(at);
    texts().message(key.toStdString());
    // The message box took the focus and so closed the cell's editor: it opens again on the
    // same cell, holding the text as it stood before the refused key.
    if (!editing || !StrGridModel->grid() || StrGrid->indexWidget(at) || !StrGrid->isVisible())
        return;
    StrGrid->setCurrentIndex(at);
    StrGrid->edit(at);
    if (auto* line = qobject_cast<QLineEdit*>(StrGrid->indexWidget(at))) {
        line->deselect();
        line->end(false);
    }
}

void TForm1::CopySelection() {
    if (MeasText->isVisible()) {
        MeasText->copy();
        return;
    }
    const QModelIndexList selected = StrGrid->selectionModel()->selectedIndexes();
    if (selected.isEmpty())
        return;
    int top = selected.front().row(), bottom = top;
    int left = selected.front().column(), right = left;
    for (const QModelIndex& i : selected) {
        top = std::min(top, i.row());
        bottom = std::max(bottom, i.row());
        left = std::min(left, i.column());
        right = std::max(right, i.column());
    }
    std::vector<std::vector<std::optional<std::string>>> cells;
    for (int r = top; r <= bottom; ++r) {
        auto& row = cells.emplace_back();
        for (int c = left; c <= right; ++c) {
            const QModelIndex at = StrGridModel->index(r, c);
            row.push_back(StrGrid->selectionModel()->isSelected(at)
                              ? std::optional<std::string>(at.data().toString().toStdString())
                              : std::nullopt);
        }
    }
    const QString text = QString::fromStdString(copied_cells(cells));
    QGuiApplication::clipboard()->setText(text);
}

void TForm1::PasteCells(const QString& text) {
    if (!doc_.grid())
        return; // the table is read-only outside the editing page
    const QModelIndex at = StrGrid->currentIndex();
    const std::size_t row = at.isValid() ? static_cast<std::size_t>(at.row()) : 0;
    const int column = at.isValid() ? at.column() : 1;
    const int refused = doc_.paste(row, column, toGbkMarked(text));
    grid_rows_changed(row);
    if (refused > 0)
        prompts_.message(texts().text("paste_cells_refused") + QString::number(refused));
}

bool TForm1::may_replace_data() {
    return confirm(doc_.open_question());
}

void TForm1::OpenBtnClick() {
    if (!may_replace_data())
        return;
    const std::optional<FileChoice> choice = prompts_.openFile(texts().filter("OPEN_FILTER"));
    if (!choice)
        return;
    OpenFile(choice->fileName);
}

bool TForm1::OpenFile(const QString& path) {
    Messages messages;
    bool loaded = false;
    {
        BusyCursor busy;
        loaded = doc_.open(file_name_bytes(path), Settings(), messages);
        if (loaded) {
            help_shown_ = false;
            current_file_ = QFileInfo(path).fileName();
            update_title();
            show_document();
        }
    }
    show_messages(messages);
    return loaded;
}

void TForm1::update_title() {
    // The window's caption names the file on show.
    const QString title = texts().title();
    setWindowTitle(current_file_.isEmpty() ? title : current_file_ + QStringLiteral(" - ") + title);
}

std::optional<FileChoice> TForm1::choose_save_file(const QString& type_list) {
    std::optional<FileChoice> choice = prompts_.saveFile(type_list, QString());
    if (!choice)
        return std::nullopt;
    choice->fileName = QString::fromStdString(with_type_extension(
        choice->fileName.toStdString(), type_list.toStdString(), choice->typeIndex));
    if (!texts().may_write(choice->fileName))
        return std::nullopt;
    return choice;
}

bool TForm1::write_bytes(const QString& path, const std::string& bytes) {
    std::string error;
    bool written = false;
    {
        BusyCursor busy;
        written = write_file_atomic(file_name_bytes(path), bytes, &error);
    }
    if (!written)
        prompts_.message(texts().text("file_save_failed") + QStringLiteral("\n") + path +
                         QStringLiteral("\n") + QString::fromLocal8Bit(error.c_str()));
    return written;
}

void TForm1::save_list(std::string_view filter_key) {
    const std::optional<FileChoice> choice = choose_save_file(texts().filter(filter_key));
    if (!choice)
        return;
    SaveResult result;
    {
        // Streamed into the file that replaces the old one once whole: a big save is never
        // held in memory, and a failed one leaves the old file.
        BusyCursor busy;
        result = save_to_file(file_name_bytes(choice->fileName), doc_.data(), choice->typeIndex,
                              Settings());
    }
    show_messages(result.messages);
    if (!result.written && !result.error.empty())
        prompts_.message(texts().text("file_save_failed") + QStringLiteral("\n") +
                         choice->fileName + QStringLiteral("\n") +
                         QString::fromLocal8Bit(result.error.c_str()));
    if (result.written) {
        doc_.mark_saved();
        current_file_ = QFileInfo(choice->fileName).fileName();
        update_title();
    }
}

void TForm1::save_view_text() {
    const std::optional<FileChoice> choice = choose_save_file(QStringLiteral("*.txt|*.txt"));
    if (!choice)
        return;
    std::string bytes;
    for (const QString& line : MeasText->toPlainText().split(QLatin1Char('\n'))) {
        bytes += toGbk(line);
        bytes += "\r\n";
    }
    write_bytes(choice->fileName, bytes);
}

void TForm1::SaveBtnClick() {
    switch (doc_.save_choice(help_shown_ && !MeasText->document()->isEmpty())) {
    case Document::SaveChoice::List:
        save_list(SaveFilter);
        return;
    case Document::SaveChoice::HelpText:
        save_view_text(); // the help itself, as it always could be
        return;
    case Document::SaveChoice::NothingToSave:
        texts().message("no_data_to_save");
        return;
    case Document::SaveChoice::None:
        return;
    }
}

void TForm1::dragEnterEvent(QDragEnterEvent* event) {
    if (Link1.busy() || PageControl1->currentIndex() != 0 || !event->mimeData()->hasUrls())
        return;
    for (const QUrl& url : event->mimeData()->urls())
        if (url.isLocalFile()) {
            event->acceptProposedAction();
            return;
        }
}

void TForm1::dropEvent(QDropEvent* event) {
    for (const QUrl& url : event->mimeData()->urls()) {
        if (!url.isLocalFile())
            continue;
        event->acceptProposedAction();
        const QString path = url.toLocalFile();
        guarded(prompts_, [this, &path] {
            if (may_replace_data())
                OpenFile(path);
        });
        return;
    }
}

void TForm1::ComPort1LineError(int, const QString&) {
    // The line went away (cable pulled, device gone); the port has closed.
    if (Link1.busy())
        Link1.line_lost();
    else
        SetStatusPanel(0, texts().text("port_setting_error"));
}

} // namespace telvane
