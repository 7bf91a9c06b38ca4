// Qt Widgets implementation of the backend's windows and controls.
#pragma once

#include <QWidget>

#include "ui/backend.h"

namespace ui::qt {

QColor toQColor(const backend::Color& color);
QFont toQFont(const backend::Font& font);
QImage toQImage(const Image& image);

// A top-level window with a fixed or sizeable frame; tells the layer when it is closed.
class FormWidget : public QWidget {
public:
    FormWidget(const backend::WindowDesc& desc, std::function<void()> onClosed);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    std::function<void()> onClosed_;
};

class QtWindow : public backend::Window {
public:
    QtWindow(const backend::WindowDesc& desc, std::function<void()> onClosed);
    ~QtWindow() override;

    std::unique_ptr<backend::Control> addLabel(const backend::LabelDesc& desc) override;
    std::unique_ptr<backend::Control> addButton(const backend::ButtonDesc& desc) override;
    void setTabOrder(const std::vector<backend::Control*>& controls) override;
    backend::Size textExtent(const std::string& text) override;
    void setCaption(const std::string& caption) override;
    void show(bool centreOnScreen) override;
    void close() override;

private:
    FormWidget* widget_;
};

}  // namespace ui::qt
