#include "data_table_model.h"

#include "ui/codec.h"

#include <QLineEdit>

#include <algorithm>

namespace telvane {

DataTableModel::DataTableModel(TextOf text_of, QObject* parent)
    : QAbstractTableModel(parent), text_of_(std::move(text_of)) {}

void DataTableModel::reset(DataKind kind, RoadList road, int order) {
    kind_ = kind;
    order_ = order;
    columns_ = table_columns(kind, order, road);
}

void DataTableModel::showEmpty(DataKind kind, RoadList road, int order) {
    beginResetModel();
    reset(kind, road, order);
    data_ = nullptr;
    grid_ = nullptr;
    endResetModel();
}

void DataTableModel::showData(const DataState* data, int order, Units units) {
    beginResetModel();
    reset(data->Kind, data->Road, order);
    units_ = units;
    data_ = data;
    grid_ = nullptr;
    endResetModel();
}

void DataTableModel::showGrid(const EditGrid* grid, int order, SetCell set_cell) {
    beginResetModel();
    reset(grid->kind(), RoadList::Intersections, order); // the editing page edits no road data
    data_ = nullptr;
    grid_ = grid;
    set_cell_ = std::move(set_cell);
    endResetModel();
}

void DataTableModel::gridChanged() {
    beginResetModel();
    endResetModel();
}

QList<int> DataTableModel::columnWidths() const {
    QList<int> widths;
    for (const ColumnSpec& c : columns_)
        widths << (c.width > 0 ? c.width : kDefaultColumnWidth);
    return widths;
}

int DataTableModel::rowCount(const QModelIndex& parent) const {
    if (parent.isValid() || columns_.empty())
        return 0;
    if (grid_)
        return static_cast<int>(grid_->rows());
    if (data_)
        return static_cast<int>(table_row_count(*data_));
    return 1;
}

int DataTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(columns_.size());
}

QVariant DataTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount() || index.column() >= columnCount())
        return {};
    const auto row = static_cast<std::size_t>(index.row());
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        if (grid_)
            return fromGbk(grid_->cell(row, index.column()));
        if (data_)
            return fromGbk(table_cell(*data_, row, index.column(), order_, units_));
        if (index.column() == 0)
            return kind_ == DataKind::Road ? QStringLiteral("1") : QStringLiteral("#1");
        return QString();
    case Qt::TextAlignmentRole: {
        const bool right = cell_alignment(kind_, index.column()) == CellAlign::Right;
        return QVariant::fromValue(Qt::AlignVCenter | (right ? Qt::AlignRight : Qt::AlignHCenter));
    }
    default:
        return {};
    }
}

QVariant DataTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= columnCount())
        return {};
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(Qt::AlignCenter);
    if (role != Qt::DisplayRole)
        return {};
    const ColumnSpec& c = columns_[static_cast<std::size_t>(section)];
    QString text;
    if (!c.key.empty())
        text += text_of_(c.key);
    if (!c.key2.empty())
        text += text_of_(c.key2);
    text += QString::fromLatin1(c.literal.data(), static_cast<qsizetype>(c.literal.size()));
    return text;
}

Qt::ItemFlags DataTableModel::flags(const QModelIndex& index) const {
    Qt::ItemFlags f = QAbstractTableModel::flags(index);
    if (grid_ && index.isValid() && index.column() > 0)
        f |= Qt::ItemIsEditable;
    return f;
}

bool DataTableModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!grid_ || role != Qt::EditRole || !index.isValid() || index.column() == 0 ||
        index.row() >= rowCount() || index.column() >= columnCount())
        return false;
    const auto row = static_cast<std::size_t>(index.row());
    std::optional<std::string> bytes = toGbkExact(value.toString());
    std::string_view key;
    if (!bytes)
        key = "char_not_in_codepage";
    else if (set_cell_)
        key = set_cell_(row, index.column(), *std::move(bytes));
    if (!key.empty()) {
        // The refused text is taken back: the cell keeps what it held.
        emit refused(QString::fromLatin1(key.data(), static_cast<qsizetype>(key.size())),
                     index.row(), index.column());
        return false;
    }
    emit dataChanged(index, index, {Qt::DisplayRole, Qt::EditRole});
    emit edited();
    return true;
}

namespace {
// The text an editor held after its last accepted keystroke.
constexpr const char* kAcceptedText = "telvaneAcceptedText";
} // namespace

QWidget* CellDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                                    const QModelIndex& index) const {
    QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
    auto* line = qobject_cast<QLineEdit*>(editor);
    if (!line)
        return editor;
    const auto* model = qobject_cast<const DataTableModel*>(index.model());
    const DataKind kind = model ? model->kind() : DataKind::Points;
    const int row = index.row();
    const int column = index.column();
    // The check of each keystroke: a text that cannot stand (or become a number) is taken back
    // to what the editor held before the key, and the reason is shown once the key's handling
    // is over. The message box is never run from inside the editor's own signal: its modal loop
    // closes and deletes the editor, which is still on the stack here.
    connect(line, &QLineEdit::textEdited, line,
            [this, line, kind, row, column](const QString& text) {
                const QString before = line->property(kAcceptedText).toString();
                const std::optional<std::string> after = toGbkExact(text);
                const std::optional<std::string> was = toGbkExact(before);
                const std::string_view key =
                    after ? check_keystroke(kind, column, was.value_or(std::string()), *after)
                          : std::string_view("char_not_in_codepage");
                if (key.empty()) {
                    line->setProperty(kAcceptedText, text);
                    return;
                }
                const int cursor =
                    std::min<int>(line->cursorPosition() - 1, static_cast<int>(before.size()));
                line->setText(before);
                line->setCursorPosition(std::max(cursor, 0));
                emit refused(QString::fromLatin1(key.data(), static_cast<qsizetype>(key.size())),
                             row, column);
            });
    return editor;
}

void CellDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const {
    QStyledItemDelegate::setEditorData(editor, index);
    if (auto* line = qobject_cast<QLineEdit*>(editor))
        line->setProperty(kAcceptedText, line->text());
}

} // namespace telvane
