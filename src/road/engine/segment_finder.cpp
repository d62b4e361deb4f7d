#include "road/engine/segment_finder.h"

#include <algorithm>
#include <cmath>

namespace telvane::road {

SegmentFinder::SegmentFinder(std::vector<double> chainages)
    : chainages_(std::move(chainages)),
      ascending_(std::is_sorted(chainages_.begin(), chainages_.end())) {}

std::optional<std::size_t> SegmentFinder::Find(double x) const {
    const std::size_t n = chainages_.size();
    if (n < 2 || std::isnan(x)) {
        return std::nullopt;
    }
    if (ascending_) {
        // The first end chainage at or beyond x closes the wanted segment; every start chainage
        // before it lies below x, so no earlier segment qualifies.
        const auto end = std::lower_bound(chainages_.begin() + 1, chainages_.end(), x);
        if (end == chainages_.end()) {
            return std::nullopt;
        }
        const auto i = static_cast<std::size_t>(end - chainages_.begin()) - 1;
        if (!(chainages_[i] <= x)) {
            return std::nullopt;
        }
        return i;
    }
    for (std::size_t i = 0; i + 1 < n; ++i) {
        if (chainages_[i] <= x && x <= chainages_[i + 1]) {
            return i;
        }
    }
    return std::nullopt;
}

} // namespace telvane::road
