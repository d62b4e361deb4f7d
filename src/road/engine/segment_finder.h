// Finds the segment of a list of chainages that holds a given chainage: the first i with
// chainage[i] ≤ x ≤ chainage[i+1]. At a chainage shared by the end of one segment and the start of
// the next the earlier segment wins.
#pragma once

#include <cstddef>
#include <optional>
#include <vector>

namespace telvane::road {

class SegmentFinder {
public:
    SegmentFinder() = default;
    explicit SegmentFinder(std::vector<double> chainages);

    std::optional<std::size_t> Find(double x) const;

private:
    std::vector<double> chainages_;
    // Non-decreasing lists (the usual case) are searched by bisection, others scanned in order.
    bool ascending_ = true;
};

} // namespace telvane::road
