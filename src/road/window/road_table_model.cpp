#include "road_table_model.h"

#include "ui/codec.h"

namespace telvane::road {

namespace {

const QList<int>& Widths(RoadList page) {
    static const QList<int> points = {60, 110, 110, 110, 80,  80,  80,  50, 110,
                                      80, 80,  80,  80,  110, 110, 110, 110};
    static const QList<int> elements = {50, 80, 80, 110, 50, 110, 110, 110, 110};
    static const QList<int> profile = {110, 110, 110, 110, 110};
    static const QList<int> stakes = {100, 100, 100, 100, 100, 100, 100, 100, 100, 100};
    switch (page) {
    case RoadList::Intersections:
        return points;
    case RoadList::Elements:
        return elements;
    case RoadList::Profile:
        return profile;
    case RoadList::Stakes:
        break;
    }
    return stakes;
}

} // namespace

RoadTableModel::RoadTableModel(const RoadData& data, RoadList page, TextOf text_of, QObject* parent)
    : QAbstractTableModel(parent), data_(data), page_(page), text_of_(std::move(text_of)) {}

void RoadTableModel::Refill() {
    beginResetModel();
    endResetModel();
}

QList<int> RoadTableModel::ColumnWidths() const {
    return Widths(page_);
}

int RoadTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(data_.Count(page_));
}

int RoadTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(Widths(page_).size());
}

TableRow RoadTableModel::Row(std::size_t k) const {
    switch (page_) {
    case RoadList::Intersections:
        return IntersectionRow(data_.IntersectionPoints()[k]);
    case RoadList::Elements:
        return ElementRow(data_.PlaneElements()[k]);
    case RoadList::Profile:
        return GradePointRow(data_.GradePoints()[k]);
    case RoadList::Stakes:
        break;
    }
    // Shown as the design's stations.
    Pile stake = data_.Stakes()[k];
    stake.Mileage = data_.StationOf(stake.Mileage);
    return StakeRow(stake);
}

QVariant RoadTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount() || index.column() >= columnCount())
        return {};
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(Qt::AlignVCenter | Qt::AlignRight);
    if (role != Qt::DisplayRole)
        return {};
    const TableRow row = Row(static_cast<std::size_t>(index.row()));
    const auto c = static_cast<std::size_t>(index.column());
    return c < row.size() ? fromGbk(row[c]) : QString();
}

QVariant RoadTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Vertical)
        return section + 1;
    const RoadColumnTitles titles =
        RoadColumnTitles::FromTexts([this](std::string_view key) { return toGbk(text_of_(key)); });
    TableRow header;
    switch (page_) {
    case RoadList::Intersections:
        header = IntersectionHeader(titles);
        break;
    case RoadList::Elements:
        header = ElementHeader(titles);
        break;
    case RoadList::Profile:
        header = GradePointHeader(titles);
        break;
    case RoadList::Stakes:
        header = StakeHeader(titles);
        break;
    }
    const auto c = static_cast<std::size_t>(section);
    return c < header.size() ? fromGbk(header[c]) : QVariant();
}

} // namespace telvane::road
