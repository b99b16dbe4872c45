#include "fitted_layout.h"

#include <algorithm>
#include <cstddef>

namespace orvanel {
namespace {

enum class Axis { X, Y };

int Lo(const PixelRect& r, Axis axis) { return axis == Axis::X ? r.left : r.top; }
int Hi(const PixelRect& r, Axis axis) { return axis == Axis::X ? r.right : r.bottom; }
int Length(const PixelSize& s, Axis axis) { return axis == Axis::X ? s.width : s.height; }

void SetSpan(PixelRect& r, Axis axis, int lo, int hi) {
    if (axis == Axis::X) {
        r.left = lo;
        r.right = hi;
    } else {
        r.top = lo;
        r.bottom = hi;
    }
}

bool Overlap(int lo_a, int hi_a, int lo_b, int hi_b) { return lo_a < hi_b && lo_b < hi_a; }

// One axis at a time: first across (the rows known only as designed and
// grown in place), then down (with the columns final).
class Fitter {
public:
    Fitter(const std::vector<LayoutBox>& boxes, PixelSize designed_client, PixelSize client_need)
        : boxes_(boxes) {
        // The client area is one more box, the root, holding the top level.
        boxes_.push_back({PixelRect{0, 0, designed_client.width, designed_client.height}, client_need, -1,
                          RightEdge::Stays});
        root_ = boxes_.size() - 1;
        children_.resize(boxes_.size());
        for (std::size_t i = 0; i < root_; ++i) {
            const int parent = boxes_[i].parent;
            const bool valid = parent >= 0 && static_cast<std::size_t>(parent) < i;
            children_[valid ? static_cast<std::size_t>(parent) : root_].push_back(i);
        }
        placed_.resize(boxes_.size());
        for (std::size_t i = 0; i < boxes_.size(); ++i) placed_[i] = boxes_[i].designed;
    }

    FittedLayout Fit() {
        Place(root_, Axis::X, 0);
        Place(root_, Axis::Y, 0);
        FittedLayout result;
        result.boxes.assign(placed_.begin(), placed_.begin() + static_cast<std::ptrdiff_t>(root_));
        result.client = {placed_[root_].right - placed_[root_].left, placed_[root_].bottom - placed_[root_].top};
        return result;
    }

private:
    const PixelRect& Designed(std::size_t i) const { return boxes_[i].designed; }

    // `first` comes before `second` on the axis: they share rows (columns)
    // and the first one's centre lies before the second one's near edge.
    bool Before(std::size_t first, std::size_t second, Axis axis) const {
        const PixelRect& a = Designed(first);
        const PixelRect& b = Designed(second);
        if (Lo(a, axis) + Hi(a, axis) > 2 * Lo(b, axis)) return false;
        if (axis == Axis::Y) {  // the columns are final by now
            return Overlap(placed_[first].left, placed_[first].right, placed_[second].left, placed_[second].right);
        }
        const int height_a = std::max(a.bottom - a.top, boxes_[first].need.height);
        const int height_b = std::max(b.bottom - b.top, boxes_[second].need.height);
        return Overlap(a.top, a.top + height_a, b.top, b.top + height_b);
    }

    int Growth(std::size_t i, Axis axis) const { return Hi(placed_[i], axis) - Hi(Designed(i), axis); }

    void Place(std::size_t i, Axis axis, int shift) {
        const PixelRect& designed = Designed(i);
        const int lo = Lo(designed, axis) + shift;
        const int length = std::max(Hi(designed, axis) - Lo(designed, axis), Length(boxes_[i].need, axis));
        SetSpan(placed_[i], axis, lo, lo + length);
        PlaceContents(i, axis, shift);
        if (axis == Axis::X) FollowRightEdge(i);
    }

    void PlaceContents(std::size_t parent, Axis axis, int parent_shift) {
        std::vector<std::size_t> order = children_[parent];
        if (order.empty()) return;
        std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
            return Lo(Designed(a), axis) + Hi(Designed(a), axis) < Lo(Designed(b), axis) + Hi(Designed(b), axis);
        });
        int reach = 0;
        int designed_reach = 0;
        for (std::size_t k = 0; k < order.size(); ++k) {
            const std::size_t box = order[k];
            int shift = parent_shift;
            for (std::size_t j = 0; j < k; ++j) {
                if (Before(order[j], box, axis)) shift = std::max(shift, Growth(order[j], axis));
            }
            Place(box, axis, shift);
            reach = k == 0 ? Hi(placed_[box], axis) : std::max(reach, Hi(placed_[box], axis));
            designed_reach = k == 0 ? Hi(Designed(box), axis) : std::max(designed_reach, Hi(Designed(box), axis));
        }
        // The parent keeps the designed margin beyond its furthest contents.
        const int margin = Hi(Designed(parent), axis) - designed_reach;
        const int hi = std::max(Hi(placed_[parent], axis), reach + margin);
        SetSpan(placed_[parent], axis, Lo(placed_[parent], axis), hi);
    }

    // With the parent's width final, its contents that keep to its right edge
    // catch up with it.
    void FollowRightEdge(std::size_t parent) {
        const int grown = placed_[parent].right - Designed(parent).right;
        for (const std::size_t child : children_[parent]) {
            const int wanted_right = Designed(child).right + grown;
            const int short_by = wanted_right - placed_[child].right;
            if (short_by <= 0) continue;
            if (boxes_[child].right == RightEdge::Follows) {
                placed_[child].right = wanted_right;
                FollowRightEdge(child);
            } else if (boxes_[child].right == RightEdge::Moves) {
                ShiftRight(child, short_by);
            }
        }
    }

    void ShiftRight(std::size_t i, int by) {
        placed_[i].left += by;
        placed_[i].right += by;
        for (const std::size_t child : children_[i]) ShiftRight(child, by);
    }

    std::vector<LayoutBox> boxes_;
    std::size_t root_ = 0;
    std::vector<std::vector<std::size_t>> children_;
    std::vector<PixelRect> placed_;
};

}  // namespace

void ShareRow(PixelRect& first, PixelRect& second, const PixelRect& designed_first,
              const PixelRect& designed_second) {
    const int span = second.right - first.left;
    if (span <= designed_second.right - designed_first.left) return;
    const int overlap = designed_first.right - designed_second.left;
    first.right = first.left + (span + overlap) / 2;
    second.left = first.right - overlap;
}

FittedLayout FitLayout(const std::vector<LayoutBox>& boxes, PixelSize designed_client, PixelSize client_need) {
    return Fitter(boxes, designed_client, client_need).Fit();
}

}  // namespace orvanel
