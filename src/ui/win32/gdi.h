// Colours, fonts and pictures of the layer's descriptions as GDI objects.
#pragma once

#include <windows.h>

#include "ui/backend.h"
#include "ui/image.h"

namespace ui::win32 {

COLORREF colorRef(const backend::Color& color);

// A font of the description's family, or a sans serif that has Cyrillic letters. The caller
// deletes it with DeleteObject.
HFONT createFont(const backend::Font& font);

// Size of a text in a font (a line per CR LF, no wrapping).
SIZE textSize(HFONT font, const std::wstring& text);

// Draws an RGBA image at (x, y), its transparent and translucent pixels blended onto `face`.
void drawImage(HDC dc, int x, int y, const Image& image, COLORREF face);

}  // namespace ui::win32
