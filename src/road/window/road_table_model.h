// A table of the road window: a model over one list of the road data, read where it lies.
#pragma once

#include "road/design/road_data.h"

#include <QAbstractTableModel>

#include <functional>

namespace telvane::road {

class RoadTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    using TextOf = std::function<QString(std::string_view key)>;
    RoadTableModel(const RoadData& data, RoadList page, TextOf text_of, QObject* parent = nullptr);

    RoadList page() const { return page_; }
    // The list changed: the table shows it again.
    void Refill();
    // Column widths in pixels.
    QList<int> ColumnWidths() const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    TableRow Row(std::size_t k) const;

    const RoadData& data_;
    RoadList page_;
    TextOf text_of_;
};

} // namespace telvane::road
