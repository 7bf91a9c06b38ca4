// The boundary between the toolkit layer and a platform: everything the shared code needs
// from a window system. Implemented by src/ui/qt/ (Qt Widgets) and src/ui/win32/ (Win32).
// Sizes and positions are in the platform's logical pixels after the layer has scaled them;
// texts are UTF-8 and may hold CR LF, CR or LF line breaks (see ui/text.h).
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "ui/image.h"

namespace ui::backend {

struct Size {
    int width = 0;
    int height = 0;
};

struct Rect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

enum class SystemColor { ButtonFace, WindowText };

// Either a system colour or a fixed 0xRRGGBB one.
struct Color {
    std::optional<SystemColor> system;
    std::uint32_t rgb = 0;
};

struct Font {
    std::string name;     // the preferred family; the backend falls back to a sans serif
    int pixelHeight = 0;  // character height (em) in pixels
    bool bold = false;
    bool italic = false;
    bool underline = false;
    Color color;
};

enum class Frame {
    Sizeable,  // resizable, minimise and maximise boxes
    Dialog,    // fixed size, close box only
};

enum class Cursor { Default, HandPoint };
enum class Alignment { Left, Center, Right };

struct WindowDesc {
    std::string name;  // the form's component name (Qt: objectName)
    std::string caption;
    Size client;
    Frame frame = Frame::Sizeable;
    Color color;
    Font font;
};

struct ControlDesc {
    std::string name;  // the component's name (Qt: objectName)
    Rect bounds;       // in the window's client area
    std::string text;
    bool enabled = true;
    bool visible = true;
    Cursor cursor = Cursor::Default;
};

struct LabelDesc : ControlDesc {
    Alignment alignment = Alignment::Left;
};

struct ButtonDesc : ControlDesc {
    Image glyph;                    // shown left of the caption while enabled; may be empty
    Image disabledGlyph;            // shown while disabled; may be empty
    std::function<void()> onClick;  // runs on the UI thread; never throws
};

class Control {
public:
    virtual ~Control() = default;
    virtual void setText(const std::string& text) = 0;
    virtual void setEnabled(bool enabled) = 0;
    virtual void setBounds(const Rect& bounds) = 0;
};

class Window {
public:
    virtual ~Window() = default;
    virtual std::unique_ptr<Control> addLabel(const LabelDesc& desc) = 0;
    virtual std::unique_ptr<Control> addButton(const ButtonDesc& desc) = 0;
    // Keyboard focus order of the focusable controls, first to last.
    virtual void setTabOrder(const std::vector<Control*>& controls) = 0;
    // Size of a (multi-line) text in the window's font.
    virtual Size textExtent(const std::string& text) = 0;
    virtual void setCaption(const std::string& caption) = 0;
    // Shows the window, centred on the screen when asked.
    virtual void show(bool centreOnScreen) = 0;
    // Closes the window as the user would (onClosed runs).
    virtual void close() = 0;
};

enum class DialogIcon { None, Warning, Error, Information, Question };

struct DialogButton {
    int id = 0;           // the layer's result for this button
    std::string caption;  // may hold an '&' before the accelerator letter
};

struct MessageBoxDesc {
    std::string title;
    std::string text;
    DialogIcon icon = DialogIcon::None;
    std::vector<DialogButton> buttons;
    int defaultId = 0;  // the button pressed by Enter
    int escapeId = 0;   // the button Escape (or closing the box) stands for
};

class Backend {
public:
    virtual ~Backend() = default;
    // Pixels per inch of the screen, by which the layer scales 96-dpi descriptions; a
    // backend whose toolkit scales by itself answers 96.
    virtual int pixelsPerInch() = 0;
    // A top-level window; onClosed runs when the user closes it.
    virtual std::unique_ptr<Window> createWindow(const WindowDesc& desc, std::function<void()> onClosed) = 0;
    // A modal box centred on the screen; returns the id of the button pressed.
    virtual int messageBox(const MessageBoxDesc& desc) = 0;
    // Runs the event loop until quit().
    virtual void run() = 0;
    virtual void quit() = 0;
};

// The platform's backend (one per process).
std::unique_ptr<Backend> createBackend();

}  // namespace ui::backend
