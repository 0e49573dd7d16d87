#include "ui/win32/Fonts.h"

#include <cwchar>

#include "ui/win32/Dpi.h"
#include "ui/win32/Text.h"

namespace surftally {

namespace {

// Sans-serif faces with a bold of their own, tried after the font's own: Windows' scalable
// successor of MS Sans Serif and Arial, then what Wine finds on Linux. Tahoma comes last:
// Wine's copy draws its bold as its regular.
const wchar_t* const kFallbacks[] = {L"Microsoft Sans Serif", L"Arial", L"DejaVu Sans", L"Tahoma"};

int CALLBACK familyFound(const LOGFONTW*, const TEXTMETRICW*, DWORD type, LPARAM found) {
    *reinterpret_cast<DWORD*>(found) = (type & RASTER_FONTTYPE) != 0 ? 1 : 2;
    return 0;
}

}  // namespace

Win32Fonts::~Win32Fonts() {
    for (const auto& [key, font] : fonts_) {
        ::DeleteObject(font);
    }
}

Win32Fonts::Kind Win32Fonts::kindOf(const std::wstring& family) {
    if (const auto it = families_.find(family); it != families_.end()) {
        return it->second;
    }
    LOGFONTW query{};
    query.lfCharSet = DEFAULT_CHARSET;
    std::wcsncpy(query.lfFaceName, family.c_str(), LF_FACESIZE - 1);
    DWORD found = 0;
    const HDC screen = ::GetDC(nullptr);
    ::EnumFontFamiliesExW(screen, &query, familyFound, reinterpret_cast<LPARAM>(&found), 0);
    ::ReleaseDC(nullptr, screen);
    const Kind kind = found == 0 ? Kind::Missing : found == 1 ? Kind::Bitmap : Kind::Scalable;
    families_[family] = kind;
    return kind;
}

std::wstring Win32Fonts::face(const TFont& font, int dpi) {
    for (const std::string& family : font.Families) {
        const Kind kind = kindOf(Wide(family));
        if (kind == Kind::Scalable || (kind == Kind::Bitmap && dpi == Win32Dpi::kDesign)) {
            return Wide(family);
        }
    }
    for (const wchar_t* family : kFallbacks) {
        if (kindOf(family) == Kind::Scalable) {
            return family;
        }
    }
    return {};
}

HFONT Win32Fonts::get(const TFont& font, int dpi) {
    const std::wstring name = face(font, dpi);
    const int height = Win32Dpi::Scale(font.PixelSize, dpi);
    const auto key = std::make_tuple(name, height, font.Bold);
    if (const auto it = fonts_.find(key); it != fonts_.end()) {
        return it->second;
    }
    LOGFONTW description{};
    // Negative: the pixel size is the characters' height, as the design gives it.
    description.lfHeight = -height;
    description.lfWeight = font.Bold ? FW_BOLD : FW_NORMAL;
    description.lfCharSet = DEFAULT_CHARSET;
    description.lfQuality = CLEARTYPE_QUALITY;
    description.lfPitchAndFamily = VARIABLE_PITCH | FF_SWISS;
    std::wcsncpy(description.lfFaceName, name.c_str(), LF_FACESIZE - 1);
    const HFONT created = ::CreateFontIndirectW(&description);
    fonts_[key] = created;
    return created;
}

}  // namespace surftally
