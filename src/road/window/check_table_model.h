// The report table of the Check page: one row a measured point, the cells of the report file,
// the verdict cell in the verdict's colour. A model over the list of checks, not a copy of it.
#pragma once

#include "road/check/road_check.h"

#include <QAbstractTableModel>

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace telvane::road {

class CheckTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    // `text` gives the text of a key in the language on show (bytes of the code page).
    using Text = std::function<std::string(std::string_view key)>;
    CheckTableModel(const std::vector<check::PointCheck>& checks, Text text,
                    QObject* parent = nullptr);

    // The checks or the language changed.
    void Refill();

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    const std::vector<check::PointCheck>& checks_;
    Text text_;
    std::vector<std::string> header_;
};

} // namespace telvane::road
