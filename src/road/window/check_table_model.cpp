#include "check_table_model.h"

#include "plot/check_picture.h"
#include "ui/codec.h"

#include <QColor>

namespace telvane::road {

namespace {
// The verdict is the 13th cell of a report line.
constexpr int kVerdictColumn = 12;
} // namespace

CheckTableModel::CheckTableModel(const std::vector<check::PointCheck>& checks, Text text,
                                 QObject* parent)
    : QAbstractTableModel(parent), checks_(checks), text_(std::move(text)) {
    header_ = check::report_header(text_);
}

void CheckTableModel::Refill() {
    beginResetModel();
    header_ = check::report_header(text_);
    endResetModel();
}

int CheckTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(checks_.size());
}

int CheckTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(header_.size());
}

QVariant CheckTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount() || index.column() >= columnCount())
        return {};
    const check::PointCheck& c = checks_[static_cast<std::size_t>(index.row())];
    switch (role) {
    case Qt::DisplayRole: {
        const std::vector<std::string> cells = check::report_row(c, text_);
        const auto k = static_cast<std::size_t>(index.column());
        return k < cells.size() ? fromGbk(cells[k]) : QString();
    }
    case Qt::BackgroundRole:
        if (index.column() != kVerdictColumn)
            return {};
        return QColor::fromRgb(plot::mark_colour(plot::check_mark_kind(c.Result))).lighter(170);
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(
            Qt::AlignVCenter |
            (index.column() >= 1 && index.column() <= 7 ? Qt::AlignRight : Qt::AlignLeft));
    default:
        return {};
    }
}

QVariant CheckTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 ||
        section >= columnCount())
        return {};
    return fromGbk(header_[static_cast<std::size_t>(section)]);
}

} // namespace telvane::road
