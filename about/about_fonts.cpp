#include "about_fonts.h"

#include <string_view>

#include "twips.h"

namespace orvanel {
namespace {

constexpr int kTitleSize = 18 * kTwipsPerPoint;
constexpr int kLabelSize = 165;  // 8.25 pt

// Tried in order; the last resort is the dialog font, which always resolves.
constexpr const wchar_t* kTitleFaces[] = {L"Exotc350 Lt BT", L"Palatino Linotype", L"Georgia"};
constexpr const wchar_t* kLabelFaces[] = {L"MS Sans Serif", L"Microsoft Sans Serif"};
constexpr wchar_t kDialogFace[] = L"MS Shell Dlg";

struct FaceInfo {
    bool found = false;
    bool scalable = false;
};

int CALLBACK NoteFace(const LOGFONTW*, const TEXTMETRICW*, DWORD type, LPARAM info) {
    auto* face = reinterpret_cast<FaceInfo*>(info);
    face->found = true;
    if ((type & RASTER_FONTTYPE) == 0) face->scalable = true;
    return 1;
}

FaceInfo LookUpFace(HDC dc, std::wstring_view name) {
    LOGFONTW query{};
    query.lfCharSet = DEFAULT_CHARSET;
    name.copy(query.lfFaceName, LF_FACESIZE - 1);
    FaceInfo info;
    ::EnumFontFamiliesExW(dc, &query, NoteFace, reinterpret_cast<LPARAM>(&info), 0);
    return info;
}

// A bitmap face only has its design sizes, so it is taken at 96 DPI only;
// at other scales its scalable namesake or the dialog font keeps the layout.
template <std::size_t N>
const wchar_t* ChooseFace(HDC screen, const wchar_t* const (&faces)[N], UINT dpi) {
    for (const wchar_t* face : faces) {
        const FaceInfo info = LookUpFace(screen, face);
        if (info.found && (info.scalable || dpi == USER_DEFAULT_SCREEN_DPI)) return face;
    }
    return kDialogFace;
}

UniqueGdiObject MakeFont(const wchar_t* face, int size_twips, LONG weight, UINT dpi) {
    LOGFONTW font{};
    font.lfHeight = -TwipsToPixels(size_twips, dpi);
    font.lfWeight = weight;
    font.lfCharSet = DEFAULT_CHARSET;
    font.lfQuality = DEFAULT_QUALITY;
    std::wstring_view(face).copy(font.lfFaceName, LF_FACESIZE - 1);
    return UniqueGdiObject(::CreateFontIndirectW(&font));
}

}  // namespace

AboutFonts MakeAboutFonts(UINT dpi) {
    HDC screen = ::GetDC(nullptr);
    const wchar_t* title_face = ChooseFace(screen, kTitleFaces, dpi);
    const wchar_t* label_face = ChooseFace(screen, kLabelFaces, dpi);
    ::ReleaseDC(nullptr, screen);
    AboutFonts fonts;
    fonts.title = MakeFont(title_face, kTitleSize, FW_BOLD, dpi);
    fonts.label = MakeFont(label_face, kLabelSize, FW_BOLD, dpi);
    fonts.button = MakeFont(label_face, kLabelSize, FW_NORMAL, dpi);
    return fonts;
}

}  // namespace orvanel
