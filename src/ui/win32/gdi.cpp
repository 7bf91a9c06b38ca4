#include "ui/win32/gdi.h"

#include <algorithm>
#include <vector>

#include "os/wide.h"
#include "ui/win32/text_win32.h"

namespace ui::win32 {

COLORREF colorRef(const backend::Color& color) {
    if (color.system) {
        switch (*color.system) {
        case backend::SystemColor::ButtonFace: return GetSysColor(COLOR_BTNFACE);
        case backend::SystemColor::WindowText: return GetSysColor(COLOR_WINDOWTEXT);
        }
    }
    return RGB(color.rgb >> 16 & 0xFF, color.rgb >> 8 & 0xFF, color.rgb & 0xFF);
}

HFONT createFont(const backend::Font& font) {
    // Asking for Cyrillic makes the font mapper choose a face with Russian letters when the
    // named one (a bitmap font on western systems) has none.
    return CreateFontW(-font.pixelHeight, 0, 0, 0, font.bold ? FW_BOLD : FW_NORMAL, font.italic,
                       font.underline, FALSE, RUSSIAN_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                       DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, os::wide(font.name).c_str());
}

SIZE textSize(HFONT font, const std::wstring& text) {
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font);
    RECT rect{0, 0, 0, 0};
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &rect, DT_CALCRECT | DT_EXPANDTABS);
    // Measuring leaves out a line's trailing spaces, which centring still counts.
    LONG width = rect.right - rect.left;
    for (std::size_t start = 0; start <= text.size();) {
        const std::size_t end = std::min(text.find(L"\r\n", start), text.size());
        SIZE line{0, 0};
        GetTextExtentPoint32W(dc, text.c_str() + start, static_cast<int>(end - start), &line);
        width = std::max(width, line.cx);
        start = end + 2;
    }
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    return {width, rect.bottom - rect.top};
}

TextLines::TextLines(HDC dc, const std::wstring& text) {
    TEXTMETRICW metrics;
    GetTextMetricsW(dc, &metrics);
    lineHeight_ = metrics.tmHeight;
    for (std::size_t start = 0; start <= text.size();) {
        const std::size_t end = std::min(text.find(L"\r\n", start), text.size());
        Line line;
        line.text = text.substr(start, end - start);
        const int length = static_cast<int>(line.text.size());
        std::vector<INT> extents(line.text.size());  // of each prefix
        SIZE size{0, 0};
        if (length > 0)
            GetTextExtentExPointW(dc, line.text.c_str(), length, 0, nullptr, extents.data(), &size);
        for (std::size_t i = 0; i < extents.size(); ++i)
            line.advances.push_back(extents[i] - (i ? extents[i - 1] : 0));
        line.width = size.cx;
        lines_.push_back(std::move(line));
        start = end + 2;
    }
}

SIZE TextLines::size() const {
    LONG width = 0;
    for (const Line& line : lines_) width = std::max(width, line.width);
    return {width, lineHeight_ * static_cast<LONG>(lines_.size())};
}

void TextLines::draw(HDC dc, const RECT& rect, UINT alignment) const {
    int top = rect.top;
    for (const Line& line : lines_) {
        int left = rect.left;
        if (alignment == DT_CENTER) left += (rect.right - rect.left - line.width) / 2;
        if (alignment == DT_RIGHT) left = rect.right - line.width;
        ExtTextOutW(dc, left, top, 0, nullptr, line.text.c_str(), static_cast<UINT>(line.text.size()),
                    line.advances.data());
        top += lineHeight_;
    }
}

void drawImage(HDC dc, int x, int y, const Image& image, COLORREF face) {
    if (image.empty()) return;
    const std::uint32_t faceRed = GetRValue(face), faceGreen = GetGValue(face), faceBlue = GetBValue(face);
    auto blend = [](std::uint32_t over, std::uint32_t under, std::uint32_t alpha) {
        return (over * alpha + under * (255 - alpha) + 127) / 255;
    };
    std::vector<std::uint32_t> pixels(image.pixels.size());
    for (std::size_t i = 0; i < pixels.size(); ++i) {
        std::uint32_t argb = image.pixels[i], alpha = argb >> 24;
        pixels[i] = blend(argb >> 16 & 0xFF, faceRed, alpha) << 16 |
                    blend(argb >> 8 & 0xFF, faceGreen, alpha) << 8 | blend(argb & 0xFF, faceBlue, alpha);
    }
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = image.width;
    info.bmiHeader.biHeight = -image.height;  // top row first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    SetDIBitsToDevice(dc, x, y, static_cast<DWORD>(image.width), static_cast<DWORD>(image.height), 0, 0, 0,
                      static_cast<UINT>(image.height), pixels.data(), &info, DIB_RGB_COLORS);
}

}  // namespace ui::win32
