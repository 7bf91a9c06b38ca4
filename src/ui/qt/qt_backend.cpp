// The Qt Widgets backend: the application object, windows and message boxes.
#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>

#include "ui/qt/qt_window.h"
#include "ui/text.h"

namespace ui::qt {

namespace {

// Qt scales logical pixels to the screen by itself.
constexpr int kLogicalPixelsPerInch = 96;

QMessageBox::Icon toQtIcon(backend::DialogIcon icon) {
    switch (icon) {
    case backend::DialogIcon::None: return QMessageBox::NoIcon;
    case backend::DialogIcon::Warning: return QMessageBox::Warning;
    case backend::DialogIcon::Error: return QMessageBox::Critical;
    case backend::DialogIcon::Information: return QMessageBox::Information;
    case backend::DialogIcon::Question: return QMessageBox::Question;
    }
    return QMessageBox::NoIcon;
}

// Lines are broken only where the text breaks them, up to half the screen's width.
void keepLinesWhole(QMessageBox& box) {
    auto* label = box.findChild<QLabel*>("qt_msgbox_label");
    if (!label) return;
    QFontMetrics metrics(label->font());
    int widest = 0;
    for (const QString& line : box.text().split('\n'))
        widest = std::max(widest, metrics.horizontalAdvance(line));
    int limit = QGuiApplication::primaryScreen()->availableGeometry().width() / 2;
    label->setMinimumWidth(std::min(widest + 1, limit));
}

class QtBackend : public backend::Backend {
public:
    QtBackend() : app_(argc_, argv_) { QApplication::setQuitOnLastWindowClosed(false); }

    int pixelsPerInch() override { return kLogicalPixelsPerInch; }

    std::unique_ptr<backend::Window> createWindow(const backend::WindowDesc& desc,
                                                  std::function<void()> onClosed) override {
        return std::make_unique<QtWindow>(desc, std::move(onClosed));
    }

    int messageBox(const backend::MessageBoxDesc& desc) override {
        QMessageBox box(toQtIcon(desc.icon), QString::fromStdString(desc.title),
                        QString::fromStdString(withLineFeeds(desc.text)), QMessageBox::NoButton);
        box.setTextFormat(Qt::PlainText);
        box.setWindowModality(Qt::ApplicationModal);
        keepLinesWhole(box);
        std::vector<std::pair<QAbstractButton*, int>> ids;
        for (const backend::DialogButton& button : desc.buttons) {
            QPushButton* added =
                box.addButton(QString::fromStdString(button.caption), QMessageBox::ActionRole);
            added->setObjectName(QString::fromStdString(button.caption));
            if (button.id == desc.defaultId) box.setDefaultButton(added);
            if (button.id == desc.escapeId) box.setEscapeButton(added);
            ids.emplace_back(added, button.id);
        }
        box.exec();
        for (const auto& [button, id] : ids)
            if (button == box.clickedButton()) return id;
        return desc.escapeId;
    }

    void run() override { QApplication::exec(); }
    void quit() override { QApplication::quit(); }

private:
    // The program's own arguments are not Qt's.
    int argc_ = 1;
    char name_[11] = "jingleconv";
    char* argv_[2] = {name_, nullptr};
    QApplication app_;
};

}  // namespace

}  // namespace ui::qt

std::unique_ptr<ui::backend::Backend> ui::backend::createBackend() {
    return std::make_unique<qt::QtBackend>();
}
