#include "platform/ui/Fonts.h"

#include <cmath>
#include <cwchar>

namespace platform {

Font CreatePointFont(const wchar_t* face, double points, int dpi, BYTE charset) {
    LOGFONTW font{};
    font.lfHeight = -static_cast<LONG>(std::lround(points * dpi / 72.0));   // character height, not cell
    font.lfWeight = FW_NORMAL;
    font.lfCharSet = charset;
    font.lfOutPrecision = OUT_DEFAULT_PRECIS;
    font.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    font.lfQuality = DEFAULT_QUALITY;
    font.lfPitchAndFamily = DEFAULT_PITCH | FF_DONTCARE;
    std::wcsncpy(font.lfFaceName, face, LF_FACESIZE - 1);
    return Font(CreateFontIndirectW(&font));
}

}  // namespace platform
