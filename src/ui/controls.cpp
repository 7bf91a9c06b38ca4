#include "ui/controls.h"

#include "ui/application.h"
#include "ui/dfm.h"
#include "ui/glyph.h"
#include "ui/resources.h"

namespace ui {

namespace {

int mulDiv(int value, int num, int den) {
    long long product = static_cast<long long>(value) * num;
    return static_cast<int>(product >= 0 ? (product + den / 2) / den : (product - den / 2) / den);
}

}  // namespace

void TControl::SetBounds(int left, int top, int width, int height) {
    bounds_ = {left, top, width, height};
    if (native_) native_->setBounds(bounds_);
}

void TControl::SetCaption(const std::string& caption) {
    caption_ = caption;
    if (native_) native_->setText(caption_);
    CaptionChanged();
}

void TControl::SetEnabled(bool enabled) {
    enabled_ = enabled;
    if (native_) native_->setEnabled(enabled_);
}

void TControl::ScaleBy(int num, int den) {
    bounds_ = {mulDiv(bounds_.left, num, den), mulDiv(bounds_.top, num, den), mulDiv(bounds_.width, num, den),
               mulDiv(bounds_.height, num, den)};
}

void TControl::ReadProperty(const std::string& property, const DfmValue& value) {
    if (property == "Left")
        bounds_.left = static_cast<int>(value.asInteger(property));
    else if (property == "Top")
        bounds_.top = static_cast<int>(value.asInteger(property));
    else if (property == "Width")
        bounds_.width = static_cast<int>(value.asInteger(property));
    else if (property == "Height")
        bounds_.height = static_cast<int>(value.asInteger(property));
    else if (property == "Caption")
        caption_ = value.asString(property);
    else if (property == "Enabled")
        enabled_ = value.asBoolean(property);
    else if (property == "Visible")
        visible_ = value.asBoolean(property);
    else if (property == "TabOrder")
        tabOrder_ = static_cast<int>(value.asInteger(property));
    else if (property == "Cursor") {
        const std::string& name = value.asIdentifier(property);
        if (name == "crHandPoint")
            cursor_ = crHandPoint;
        else if (name == "crDefault")
            cursor_ = crDefault;
        else
            TComponent::ReadProperty(property + " = " + name, value);
    } else {
        TComponent::ReadProperty(property, value);
    }
}

void TControl::FillDesc(backend::ControlDesc& desc) const {
    desc.name = Name();
    desc.bounds = bounds_;
    desc.text = caption_;
    desc.enabled = enabled_;
    desc.visible = visible_;
    desc.cursor = cursor_;
}

void TLabel::ReadProperty(const std::string& property, const DfmValue& value) {
    if (property == "Alignment") {
        const std::string& name = value.asIdentifier(property);
        if (name == "taLeftJustify")
            alignment_ = taLeftJustify;
        else if (name == "taCenter")
            alignment_ = taCenter;
        else if (name == "taRightJustify")
            alignment_ = taRightJustify;
        else
            TControl::ReadProperty(property + " = " + name, value);
    } else if (property == "AutoSize") {
        autoSize_ = value.asBoolean(property);
    } else {
        TControl::ReadProperty(property, value);
    }
}

void TLabel::CreateNative(backend::Window& window) {
    window_ = &window;
    AdjustBounds();
    backend::LabelDesc desc;
    FillDesc(desc);
    desc.alignment = alignment_;
    native_ = window.addLabel(desc);
}

void TLabel::CaptionChanged() {
    AdjustBounds();
    if (native_) native_->setBounds(bounds_);
}

// The text's size; the left edge moves so the alignment's anchor (left edge, centre or
// right edge) stays where the description put it.
void TLabel::AdjustBounds() {
    if (!autoSize_ || !window_) return;
    backend::Size extent = window_->textExtent(Caption());
    int left = bounds_.left;
    if (alignment_ == taCenter) left += (bounds_.width - extent.width) / 2;
    if (alignment_ == taRightJustify) left += bounds_.width - extent.width;
    bounds_ = {left, bounds_.top, extent.width, extent.height};
}

void TBitBtn::Click() {
    if (!Enabled() || !OnClick) return;
    try {
        OnClick(this);
    } catch (...) {
        Application->HandleException(std::current_exception());
    }
}

void TBitBtn::ReadProperty(const std::string& property, const DfmValue& value) {
    if (property == "Glyph.Resource")
        glyphResource_ = value.asString(property);
    else if (property == "NumGlyphs")
        numGlyphs_ = static_cast<int>(value.asInteger(property));
    else
        TControl::ReadProperty(property, value);
}

TNotifyEvent* TBitBtn::EventSlot(const std::string& event) { return event == "OnClick" ? &OnClick : nullptr; }

void TBitBtn::CreateNative(backend::Window& window) {
    backend::ButtonDesc desc;
    FillDesc(desc);
    if (!glyphResource_.empty()) {
        std::vector<Image> glyphs = decodeGlyphs(findResource(glyphResource_), numGlyphs_);
        desc.glyph = glyphs[0];
        if (glyphs.size() > 1) desc.disabledGlyph = glyphs[1];
    }
    desc.onClick = [this] { Click(); };
    native_ = window.addButton(desc);
}

}  // namespace ui
