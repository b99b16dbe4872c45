// A designed layout grown so that every control gets the room its content
// needs with the fonts at hand: the design is the least each box gets, a
// box that grows pushes the boxes after it right or down, a box that holds
// others grows around them, and the window grows with its contents.
#pragma once

#include <array>
#include <cstddef>
#include <vector>

#include "twips.h"

namespace orvanel {

struct PixelSize {
    int width = 0, height = 0;
};

// What a box does when its parent grows wider than its contents push it.
enum class RightEdge {
    Stays,    // where the design and its neighbours put it
    Follows,  // stretches to keep its designed distance from the parent's right edge
    Moves,    // moves along, keeping its width and that distance
};

struct LayoutBox {
    PixelRect designed;      // at the window's DPI
    PixelSize need;          // the content's measured size; 0 where the design suffices
    int parent = -1;         // the index of the box it lies within, or -1 for the client area
    RightEdge right = RightEdge::Stays;
};

struct FittedLayout {
    std::vector<PixelRect> boxes;  // in the order given
    PixelSize client;
};

// Two boxes of one parent are neighbours when they share rows (columns) and
// the first one's centre lies left of (above) the other's left (top) edge;
// a box moves right (down) by as much as its neighbours' far edges moved.
// Boxes that overlap by design keep that overlap; a parent keeps the designed
// margin between its furthest contents and its own right and bottom edges.
// `client_need` is the least client area wanted besides (a window caption's
// text, say). A parent must come before its contents.
FittedLayout FitLayout(const std::vector<LayoutBox>& boxes, PixelSize designed_client,
                       PixelSize client_need = {});

// Two boxes side by side as FitLayout placed them, `first` left of `second`,
// share their row in equal widths once it is wider than designed, keeping
// the designed overlap (or gap) between them: buttons alike, as Windows'
// own dialogs have them.
void ShareRow(PixelRect& first, PixelRect& second, const PixelRect& designed_first,
              const PixelRect& designed_second);

// One box of a window's design, in twips.
template <typename Part>
struct DesignedBox {
    Part part;
    TwipsRect twips;
    int parent;  // the index of the box it lies within, or -1 for the client area
    RightEdge right;
};

template <std::size_t N>
struct Placement {
    std::array<PixelRect, N> boxes;  // in the order of the design
    PixelSize client;
};

// The design at `dpi`, grown to `needs` (in the design's order; 0 where the
// design suffices); `client_need` is the least client area besides.
template <typename Part, std::size_t N>
Placement<N> FitDesign(const std::array<DesignedBox<Part>, N>& design, const TwipsRect& client,
                       unsigned dpi, const std::array<PixelSize, N>& needs, PixelSize client_need = {}) {
    std::vector<LayoutBox> boxes;
    for (std::size_t i = 0; i < N; ++i) {
        boxes.push_back({ToPixels(design[i].twips, dpi), needs[i], design[i].parent, design[i].right});
    }
    const PixelRect designed_client = ToPixels(client, dpi);
    const FittedLayout fitted =
        FitLayout(boxes, {designed_client.right, designed_client.bottom}, client_need);
    Placement<N> placement{};
    for (std::size_t i = 0; i < N; ++i) placement.boxes[i] = fitted.boxes[i];
    placement.client = fitted.client;
    return placement;
}

// The index of `part` in the design.
template <typename Part, std::size_t N>
std::size_t IndexOf(const std::array<DesignedBox<Part>, N>& design, Part part) {
    for (std::size_t i = 0; i < N; ++i) {
        if (design[i].part == part) return i;
    }
    return 0;
}

}  // namespace orvanel
