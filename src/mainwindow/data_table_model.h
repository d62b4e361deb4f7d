// The main window's table: a model that reads the lists of the data on show (no copy of the
// points into strings), or, on the editing page, the cells of the table being edited.
#pragma once

#include "fileio/dataview.h"

#include <QAbstractTableModel>
#include <QStyledItemDelegate>

#include <functional>

namespace telvane {

class DataTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    // `text_of` gives the header texts by key in the language on show.
    using TextOf = std::function<QString(std::string_view key)>;
    explicit DataTableModel(TextOf text_of, QObject* parent = nullptr);

    // The columns of `kind` (and of the road list `road`, for road data) with one empty row.
    void showEmpty(DataKind kind, RoadList road, int order);
    // The list of data.Kind, read where it lies; `data` must outlive the model's use.
    void showData(const DataState* data, int order, Units units);
    // Takes a committed cell text (bytes of the code page): the refusal's key, or "" when the
    // cell took it.
    using SetCell = std::function<std::string_view(std::size_t row, int column, std::string text)>;
    // The table of the editing page; cells are edited through `set_cell`.
    void showGrid(const EditGrid* grid, int order, SetCell set_cell);
    // The edited table changed its rows (append, insert, delete, paste).
    void gridChanged();
    const EditGrid* grid() const { return grid_; }
    DataKind kind() const { return kind_; }
    // Column widths in pixels, column 0 first.
    QList<int> columnWidths() const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    // A committed edit: the whole typing check runs; a text that fails is not taken (the cell
    // keeps its value) and `refused` names the message and the cell.
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

signals:
    void edited();
    // Connect with a queued connection: it is emitted while an editor is committing.
    void refused(const QString& key, int row, int column);

private:
    void reset(DataKind kind, RoadList road, int order);

    TextOf text_of_;
    DataKind kind_ = DataKind::None;
    int order_ = kOrderNEZ;
    Units units_{};
    std::vector<ColumnSpec> columns_;
    const DataState* data_ = nullptr;
    const EditGrid* grid_ = nullptr;
    SetCell set_cell_;
};

// The cell editor of the editing page: checks the text on every change as it is typed.
class CellDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;

signals:
    // Emitted from inside the editor's keystroke handling: connect with a queued connection.
    void refused(const QString& key, int row, int column) const;
};

} // namespace telvane
