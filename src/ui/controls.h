// Visible controls placed on a form: labels and bitmap buttons.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "ui/backend.h"
#include "ui/classes.h"

namespace ui {

using TCursor = backend::Cursor;
constexpr TCursor crDefault = backend::Cursor::Default;
constexpr TCursor crHandPoint = backend::Cursor::HandPoint;

using TAlignment = backend::Alignment;
constexpr TAlignment taLeftJustify = backend::Alignment::Left;
constexpr TAlignment taCenter = backend::Alignment::Center;
constexpr TAlignment taRightJustify = backend::Alignment::Right;

class TControl : public TComponent {
public:
    int Left() const { return bounds_.left; }
    int Top() const { return bounds_.top; }
    int Width() const { return bounds_.width; }
    int Height() const { return bounds_.height; }
    void SetBounds(int left, int top, int width, int height);

    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& caption);
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);
    bool Visible() const { return visible_; }
    TCursor Cursor() const { return cursor_; }
    int TabOrder() const { return tabOrder_; }
    bool TabStop() const { return tabStop_; }
    // The platform's control once the form is shown on screen (null before).
    backend::Control* Native() const { return native_.get(); }

    void ReadProperty(const std::string& property, const DfmValue& value) override;

    // Multiplies the position and size by num / den (the screen's and the design's dpi).
    void ScaleBy(int num, int den);
    // Creates the platform's control on the window.
    virtual void CreateNative(backend::Window& window) = 0;

protected:
    explicit TControl(bool tabStop) : tabStop_(tabStop) {}
    void FillDesc(backend::ControlDesc& desc) const;
    virtual void CaptionChanged() {}

    backend::Rect bounds_;
    std::unique_ptr<backend::Control> native_;

private:
    std::string caption_;
    bool enabled_ = true;
    bool visible_ = true;
    TCursor cursor_ = crDefault;
    int tabOrder_ = -1;
    bool tabStop_;
};

// Static text; with AutoSize it takes its text's size, keeping its alignment's anchor.
class TLabel : public TControl {
public:
    TLabel() : TControl(false) {}
    TAlignment Alignment() const { return alignment_; }
    bool AutoSize() const { return autoSize_; }

    void ReadProperty(const std::string& property, const DfmValue& value) override;
    void CreateNative(backend::Window& window) override;

private:
    void CaptionChanged() override;
    void AdjustBounds();

    TAlignment alignment_ = taLeftJustify;
    bool autoSize_ = true;
    backend::Window* window_ = nullptr;
};

// A push button with a glyph left of its caption. The glyph is a built-in BMP holding
// NumGlyphs images: the first shown while enabled, the second while disabled.
class TBitBtn : public TControl {
public:
    TBitBtn() : TControl(true) {}
    TNotifyEvent OnClick;
    // Presses the button as the user would (nothing happens while it is disabled).
    void Click();

    const std::string& GlyphResource() const { return glyphResource_; }
    int NumGlyphs() const { return numGlyphs_; }

    void ReadProperty(const std::string& property, const DfmValue& value) override;
    TNotifyEvent* EventSlot(const std::string& event) override;
    void CreateNative(backend::Window& window) override;

private:
    std::string glyphResource_;
    int numGlyphs_ = 1;
};

}  // namespace ui
