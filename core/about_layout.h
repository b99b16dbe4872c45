// Where the about box's parts stand: designed in twips, laid out in pixels
// for the window's DPI and grown where their texts need more room.
#pragma once

#include <array>
#include <cstddef>

#include "fitted_layout.h"
#include "twips.h"

namespace orvanel {

enum class AboutPart {
    Image1,         // the logo, behind everything above the buttons
    Label1,         // the sunken frame around the title, version and copyright
    LblTitle,       // sizes itself to its text
    LblVersion,     // sizes itself to its text
    LblCopyright,   // sizes itself to its text
    Separator,      // the etched line under the copyright
    LblDeclration,  // the statement: a fixed width, its text wrapped
    CmdEmail,
    CmdHomePage,
    CmdOK,
};

constexpr TwipsRect kAboutClient{0, 0, 8445, 4440};
// The logo and the button row stretch with a wider box, and the separator
// with its frame.
constexpr std::array<DesignedBox<AboutPart>, 10> kAboutLayout{{
    {AboutPart::Image1, {120, 120, 8220, 3750}, -1, RightEdge::Follows},
    {AboutPart::Label1, {120, 120, 5535, 2535}, 0, RightEdge::Stays},
    {AboutPart::LblTitle, {225, 1200, 2415, 420}, 1, RightEdge::Stays},
    {AboutPart::LblVersion, {1080, 1594, 645, 195}, 1, RightEdge::Stays},
    {AboutPart::LblCopyright, {240, 2040, 900, 195}, 1, RightEdge::Stays},
    // Two design pixels high; its lowest row is the design's line at 2280.
    {AboutPart::Separator, {240, 2265, 5280, 30}, 1, RightEdge::Follows},
    {AboutPart::LblDeclration, {240, 3240, 3900, 495}, 0, RightEdge::Stays},
    {AboutPart::CmdEmail, {120, 3960, 2895, 375}, -1, RightEdge::Stays},
    {AboutPart::CmdHomePage, {3000, 3960, 2775, 375}, -1, RightEdge::Stays},
    {AboutPart::CmdOK, {5760, 3960, 2535, 375}, -1, RightEdge::Follows},
}};

// Each label's shadow: the same text, drawn first, this far right and down.
struct LabelShadow {
    AboutPart label;
    TwipsRect twips;
};
constexpr std::array<LabelShadow, 4> kAboutShadows{{
    {AboutPart::LblTitle, {255, 1230, 2415, 420}},
    {AboutPart::LblVersion, {1125, 1623, 645, 195}},
    {AboutPart::LblCopyright, {270, 2070, 900, 195}},
    {AboutPart::LblDeclration, {261, 3274, 3900, 495}},
}};

using AboutNeeds = std::array<PixelSize, kAboutLayout.size()>;
using AboutPlacement = Placement<kAboutLayout.size()>;

inline AboutPlacement FitAboutLayout(unsigned dpi, const AboutNeeds& needs, PixelSize client_need = {}) {
    return FitDesign(kAboutLayout, kAboutClient, dpi, needs, client_need);
}
inline std::size_t AboutIndex(AboutPart part) { return IndexOf(kAboutLayout, part); }

// Where the shadow of a label placed at `placed` goes: offset from it as the
// design offsets the two, at `dpi`.
PixelRect ShadowRect(const LabelShadow& shadow, const PixelRect& placed, unsigned dpi);

}  // namespace orvanel
