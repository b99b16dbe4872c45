// The about box's logo: the JPEG among the program's resources, decoded
// once per opening and stretched into its rectangle at every paint.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

namespace orvanel {

struct LogoPicture {
    std::vector<std::uint32_t> pixels;  // top-down, premultiplied BGRA
    UINT width = 0;
    UINT height = 0;
};

// Empty when the resource is missing or can't be decoded.
LogoPicture DecodeLogo();

// Draws nothing for an empty picture.
void StretchLogo(HDC dc, const LogoPicture& logo, const RECT& box);

}  // namespace orvanel
