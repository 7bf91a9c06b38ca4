// Colours, fonts and pictures of the layer's descriptions as GDI objects.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "ui/backend.h"
#include "ui/image.h"

namespace ui::win32 {

COLORREF colorRef(const backend::Color& color);

// A font of the description's family, or a sans serif that has Cyrillic letters. The caller
// deletes it with DeleteObject.
HFONT createFont(const backend::Font& font);

// Size of a text in a font (a line per CR LF, no wrapping).
SIZE textSize(HFONT font, const std::wstring& text);

// A text as labels draw it: measured on a device context with the font selected, a line per
// CR LF, and drawn at the very advances measured, so it takes exactly the measured size.
// (Left to place the characters itself, Wine draws some substituted fonts wider than it
// measures them.)
class TextLines {
public:
    TextLines(HDC dc, const std::wstring& text);

    SIZE size() const;
    // Each line aligned in `rect` by DT_LEFT, DT_CENTER or DT_RIGHT.
    void draw(HDC dc, const RECT& rect, UINT alignment) const;

private:
    struct Line {
        std::wstring text;
        std::vector<INT> advances;
        LONG width = 0;
    };
    std::vector<Line> lines_;
    LONG lineHeight_ = 0;
};

// Draws an RGBA image at (x, y), its transparent and translucent pixels blended onto `face`.
void drawImage(HDC dc, int x, int y, const Image& image, COLORREF face);

}  // namespace ui::win32
