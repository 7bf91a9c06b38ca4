// A push button with a glyph left of its caption, drawn by us (BS_OWNERDRAW) in the
// classic 3D look, with a separate glyph while disabled.
#pragma once

#include <functional>

#include "ui/win32/control_win32.h"

namespace ui::win32 {

class BitmapButton : public Win32Control {
public:
    BitmapButton(HWND parent, const backend::ButtonDesc& desc, HFONT font);

    void command(WORD code) override;
    void draw(const DRAWITEMSTRUCT& item) override;
    // Presses the button as Enter or a click would.
    void click();

private:
    HFONT font_;
    Image glyph_;
    Image disabledGlyph_;
    std::function<void()> onClick_;
};

}  // namespace ui::win32
