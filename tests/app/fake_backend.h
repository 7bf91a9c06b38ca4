// A backend that draws nothing: it records what the layer asks of it, measures text as
// 6 px per character and 13 px per line, and answers message boxes from a list.
#pragma once

#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "ui/backend.h"
#include "ui/text.h"

namespace fake {

using namespace ui::backend;

constexpr int kCharWidth = 6;
constexpr int kLineHeight = 13;

struct Control : ui::backend::Control {
    std::string kind;  // "label" or "button"
    LabelDesc label;   // the description given (for a button: its common part)
    ButtonDesc button;
    std::string text;
    bool enabled = true;
    Rect bounds;

    void setText(const std::string& t) override { text = t; }
    void setEnabled(bool e) override { enabled = e; }
    void setBounds(const Rect& b) override { bounds = b; }
};

struct Window : ui::backend::Window {
    WindowDesc desc;
    std::vector<Control*> controls;
    std::vector<ui::backend::Control*> tabOrder;
    std::function<void()> onClosed;
    bool shown = false;
    bool centred = false;

    std::unique_ptr<ui::backend::Control> addLabel(const LabelDesc& d) override {
        auto control = std::make_unique<Control>();
        control->kind = "label";
        control->label = d;
        control->text = d.text;
        control->enabled = d.enabled;
        control->bounds = d.bounds;
        controls.push_back(control.get());
        return control;
    }
    std::unique_ptr<ui::backend::Control> addButton(const ButtonDesc& d) override {
        auto control = std::make_unique<Control>();
        control->kind = "button";
        control->button = d;
        static_cast<ControlDesc&>(control->label) = d;
        control->text = d.text;
        control->enabled = d.enabled;
        control->bounds = d.bounds;
        controls.push_back(control.get());
        return control;
    }
    void setTabOrder(const std::vector<ui::backend::Control*>& order) override { tabOrder = order; }
    Size textExtent(const std::string& text) override {
        int widest = 0, lines = 0;
        for (const std::string& line : ui::splitLines(text)) {
            int chars = 0;
            for (unsigned char c : line) chars += (c & 0xC0) != 0x80;
            widest = std::max(widest, chars * kCharWidth);
            ++lines;
        }
        return {widest, lines * kLineHeight};
    }
    void setCaption(const std::string& caption) override { desc.caption = caption; }
    void show(bool centre) override {
        shown = true;
        centred = centre;
    }
    void close() override {
        if (onClosed) onClosed();
    }
    Control* find(const std::string& name) const {
        for (Control* control : controls)
            if (control->label.name == name) return control;
        return nullptr;
    }
};

struct Backend : ui::backend::Backend {
    int ppi = 96;
    std::vector<Window*> windows;
    std::vector<MessageBoxDesc> boxes;
    std::deque<int> answers;  // what each box returns; the escape button when empty
    int quitCalls = 0;

    int pixelsPerInch() override { return ppi; }
    std::unique_ptr<ui::backend::Window> createWindow(const WindowDesc& d,
                                                      std::function<void()> onClosed) override {
        auto window = std::make_unique<Window>();
        window->desc = d;
        window->onClosed = std::move(onClosed);
        windows.push_back(window.get());
        return window;
    }
    int messageBox(const MessageBoxDesc& d) override {
        boxes.push_back(d);
        if (answers.empty()) return d.escapeId;
        int answer = answers.front();
        answers.pop_front();
        return answer;
    }
    void run() override {}
    void quit() override { ++quitCalls; }
};

}  // namespace fake
