#include "ui/qt/qt_window.h"

#include <QAbstractButton>
#include <QCloseEvent>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>

#include "ui/text.h"

namespace ui::qt {

namespace {

// The sans serif used where the description's font is not installed.
constexpr const char* FallbackFamilies[] = {"Microsoft Sans Serif", "Tahoma", "Arial", "Liberation Sans",
                                            "DejaVu Sans"};

QString qtText(const std::string& text) { return QString::fromStdString(withLineFeeds(text)); }

QRect toQRect(const backend::Rect& r) { return QRect(r.left, r.top, r.width, r.height); }

Qt::CursorShape toShape(backend::Cursor cursor) {
    return cursor == backend::Cursor::HandPoint ? Qt::PointingHandCursor : Qt::ArrowCursor;
}

Qt::Alignment toQtAlignment(backend::Alignment alignment) {
    switch (alignment) {
    case backend::Alignment::Left: return Qt::AlignLeft | Qt::AlignTop;
    case backend::Alignment::Center: return Qt::AlignHCenter | Qt::AlignTop;
    case backend::Alignment::Right: return Qt::AlignRight | Qt::AlignTop;
    }
    return Qt::AlignLeft | Qt::AlignTop;
}

class WidgetControl : public backend::Control {
public:
    virtual QWidget* widget() const = 0;
};

// Ties a backend control to its widget; the widget belongs to the window.
template <class W>
class QtControl : public WidgetControl {
public:
    explicit QtControl(W* widget) : widget_(widget) {}
    void setText(const std::string& text) override { widget_->setText(qtText(text)); }
    void setEnabled(bool enabled) override { widget_->setEnabled(enabled); }
    void setBounds(const backend::Rect& bounds) override { widget_->setGeometry(toQRect(bounds)); }
    QWidget* widget() const override { return widget_; }

private:
    W* widget_;
};

void applyCommon(QWidget* widget, const backend::ControlDesc& desc) {
    widget->setObjectName(QString::fromStdString(desc.name));
    widget->setGeometry(toQRect(desc.bounds));
    widget->setEnabled(desc.enabled);
    widget->setVisible(desc.visible);
    widget->setCursor(toShape(desc.cursor));
}

}  // namespace

QColor toQColor(const backend::Color& color) {
    if (color.system) {
        QPalette palette = QGuiApplication::palette();
        return *color.system == backend::SystemColor::ButtonFace ? palette.color(QPalette::Button)
                                                                 : palette.color(QPalette::WindowText);
    }
    return QColor::fromRgb(color.rgb);
}

QFont toQFont(const backend::Font& font) {
    QString family = QString::fromStdString(font.name);
    QStringList installed = QFontDatabase::families();
    if (!installed.contains(family, Qt::CaseInsensitive)) {
        for (const char* fallback : FallbackFamilies)
            if (installed.contains(fallback, Qt::CaseInsensitive)) {
                family = fallback;
                break;
            }
    }
    QFont result(family);
    result.setStyleHint(QFont::SansSerif);
    result.setPixelSize(font.pixelHeight);
    result.setBold(font.bold);
    result.setItalic(font.italic);
    result.setUnderline(font.underline);
    return result;
}

QImage toQImage(const Image& image) {
    QImage result(image.width, image.height, QImage::Format_ARGB32);
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x) result.setPixel(x, y, image.at(x, y));
    return result;
}

FormWidget::FormWidget(const backend::WindowDesc& desc, std::function<void()> onClosed)
    : onClosed_(std::move(onClosed)) {
    setObjectName(QString::fromStdString(desc.name));
    setWindowTitle(QString::fromStdString(desc.caption));
    if (desc.frame == backend::Frame::Dialog) {
        setWindowFlags(Qt::Window | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                       Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
        setFixedSize(desc.client.width, desc.client.height);
    } else {
        setWindowFlags(Qt::Window);
        resize(desc.client.width, desc.client.height);
    }
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, toQColor(desc.color));
    // the font's colour for enabled text only: disabled text stays greyed
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
        palette.setColor(group, QPalette::WindowText, toQColor(desc.font.color));
        palette.setColor(group, QPalette::ButtonText, toQColor(desc.font.color));
    }
    setPalette(palette);
    setAutoFillBackground(true);
    setFont(toQFont(desc.font));
}

void FormWidget::closeEvent(QCloseEvent* event) {
    event->accept();
    if (onClosed_) onClosed_();
}

QtWindow::QtWindow(const backend::WindowDesc& desc, std::function<void()> onClosed)
    : widget_(new FormWidget(desc, std::move(onClosed))) {}

QtWindow::~QtWindow() { delete widget_; }

std::unique_ptr<backend::Control> QtWindow::addLabel(const backend::LabelDesc& desc) {
    auto* label = new QLabel(qtText(desc.text), widget_);
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(toQtAlignment(desc.alignment));
    label->setContentsMargins(0, 0, 0, 0);
    applyCommon(label, desc);
    return std::make_unique<QtControl<QLabel>>(label);
}

std::unique_ptr<backend::Control> QtWindow::addButton(const backend::ButtonDesc& desc) {
    auto* button = new QPushButton(qtText(desc.text), widget_);
    if (!desc.glyph.empty()) {
        QIcon icon;
        icon.addPixmap(QPixmap::fromImage(toQImage(desc.glyph)), QIcon::Normal);
        if (!desc.disabledGlyph.empty())
            icon.addPixmap(QPixmap::fromImage(toQImage(desc.disabledGlyph)), QIcon::Disabled);
        button->setIcon(icon);
        button->setIconSize(QSize(desc.glyph.width, desc.glyph.height));
    }
    button->setAutoDefault(false);
    applyCommon(button, desc);
    QObject::connect(button, &QAbstractButton::clicked, [onClick = desc.onClick] {
        if (onClick) onClick();
    });
    return std::make_unique<QtControl<QPushButton>>(button);
}

void QtWindow::setTabOrder(const std::vector<backend::Control*>& controls) {
    QWidget* previous = nullptr;
    for (backend::Control* control : controls) {
        QWidget* widget = static_cast<WidgetControl*>(control)->widget();
        widget->setFocusPolicy(Qt::StrongFocus);
        if (previous) QWidget::setTabOrder(previous, widget);
        previous = widget;
    }
}

backend::Size QtWindow::textExtent(const std::string& text) {
    QSize size = QFontMetrics(widget_->font()).size(Qt::TextExpandTabs, qtText(text));
    return {size.width(), size.height()};
}

void QtWindow::setCaption(const std::string& caption) {
    widget_->setWindowTitle(QString::fromStdString(caption));
}

void QtWindow::show(bool centreOnScreen) {
    if (centreOnScreen) {
        widget_->winId();  // the platform window exists, so the frame's size is known
        QScreen* screen = QGuiApplication::primaryScreen();
        QRect frame = widget_->frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        widget_->move(frame.topLeft());
    }
    widget_->show();
    widget_->activateWindow();
}

void QtWindow::close() { widget_->close(); }

}  // namespace ui::qt
