#include "program_driver.h"

#include <QAbstractButton>
#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <cstdio>
#include <deque>
#include <string>
#include <vector>

#include "Main.h"
#include "fault_seam.h"
#include "os/fs.h"
#include "transcript.h"

namespace {

constexpr int kPollMilliseconds = 5;
constexpr int kWatchdogMilliseconds = 30000;
constexpr int kWatchdogExitCode = 3;

void report(const std::string& key, const std::string& value) {
    std::printf("%s=%s\n", key.c_str(), escapeValue(value).c_str());
    std::fflush(stdout);
}

std::string str(const QString& text) { return text.toStdString(); }

QWidget* mainWindow() {
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (widget->objectName() == "Form1") return widget;
    return nullptr;
}

bool centredOnScreen(const QWidget* widget) {
    QPoint delta =
        widget->frameGeometry().center() - QGuiApplication::primaryScreen()->availableGeometry().center();
    return std::abs(delta.x()) <= 1 && std::abs(delta.y()) <= 1;
}

std::string geometry(const QRect& r) {
    return std::to_string(r.x()) + "," + std::to_string(r.y()) + "," + std::to_string(r.width()) + "," +
           std::to_string(r.height());
}

std::string fontOf(const QWidget* widget) {
    QFontInfo info(widget->font());
    return str(info.family()) + "/" + std::to_string(info.pixelSize()) + "/" +
           (info.bold() ? "bold" : "regular");
}

void emitState() {
    std::printf("state\n");
    QWidget* window = mainWindow();
    report("window.caption", str(window->windowTitle()));
    report("window.client", std::to_string(window->width()) + "x" + std::to_string(window->height()));
    report("window.fixedSize", window->minimumSize() == window->maximumSize() ? "1" : "0");
    Qt::WindowFlags flags = window->windowFlags();
    report("window.minimizeBox", flags & Qt::WindowMinimizeButtonHint ? "1" : "0");
    report("window.maximizeBox", flags & Qt::WindowMaximizeButtonHint ? "1" : "0");
    report("window.closeBox", flags & Qt::WindowCloseButtonHint ? "1" : "0");
    report("window.centred", centredOnScreen(window) ? "1" : "0");
    report("window.frame", geometry(window->frameGeometry()));
    report("screen", geometry(QGuiApplication::primaryScreen()->availableGeometry()));
    report("window.background", str(window->palette().color(QPalette::Window).name()));
    report("system.buttonFace", str(QApplication::palette().color(QPalette::Button).name()));
    report("window.textColour", str(window->palette().color(QPalette::WindowText).name()));
    report("system.windowText", str(QApplication::palette().color(QPalette::WindowText).name()));
    report("window.font", fontOf(window));
    report("window.font.requested",
           str(window->font().family()) + "/" + std::to_string(window->font().pixelSize()));
    std::string children;
    for (QObject* child : window->children())
        if (auto* widget = qobject_cast<QWidget*>(child)) {
            std::string name = str(widget->objectName());
            children += (children.empty() ? "" : ",") + name;
            report(name + ".class", widget->metaObject()->className());
            report(name + ".geometry", geometry(widget->geometry()));
            report(name + ".enabled", widget->isEnabled() ? "1" : "0");
            report(name + ".visible", widget->isVisibleTo(window) ? "1" : "0");
            report(name + ".cursor", widget->cursor().shape() == Qt::PointingHandCursor ? "hand" : "arrow");
            report(name + ".font", fontOf(widget));
            report(name + ".textColour",
                   str(widget->palette()
                           .color(widget->isEnabled() ? QPalette::Active : QPalette::Disabled,
                                  widget->foregroundRole())
                           .name()));
            report(name + ".focusable", widget->focusPolicy() & Qt::TabFocus ? "1" : "0");
            if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
                report(name + ".text", str(button->text()));
                report(name + ".icon", button->icon().isNull() ? "0" : "1");
                report(name + ".iconSize", std::to_string(button->iconSize().width()) + "x" +
                                               std::to_string(button->iconSize().height()));
            } else if (widget->property("text").isValid()) {
                report(name + ".text", str(widget->property("text").toString()));
                int alignment = widget->property("alignment").toInt();
                report(name + ".alignment", alignment & Qt::AlignHCenter ? "centre"
                                            : alignment & Qt::AlignRight ? "right"
                                                                         : "left");
            }
        }
    report("window.children", children);
    report("Q.sqlLines", std::to_string(Form1->Q->SQL.Count()));
}

void emitPaths() {
    report("title", ui::Application->Title());
    report("folder", ProgramFolder());
    for (const char* source : SourceTables) report(std::string("path.") + source, TablePath(source));
    for (const auto& targets : TargetTables)
        for (const char* target : targets) report(std::string("path.") + target, TablePath(target));
}

const char* iconName(QMessageBox::Icon icon) {
    switch (icon) {
    case QMessageBox::Question: return "question";
    case QMessageBox::Information: return "information";
    case QMessageBox::Warning: return "warning";
    case QMessageBox::Critical: return "error";
    default: return "none";
    }
}

// Whether the box's text label is wide enough for each of the text's lines.
bool linesWhole(QMessageBox* box) {
    auto* label = box->findChild<QLabel*>("qt_msgbox_label");
    if (!label) return false;
    QFontMetrics metrics(label->font());
    for (const QString& line : box->text().split('\n'))
        if (metrics.horizontalAdvance(line) > label->contentsRect().width()) return false;
    return true;
}

// Answers the modal boxes as they appear, in the order given.
class DialogAnswerer {
public:
    DialogAnswerer() {
        QObject::connect(&timer_, &QTimer::timeout, [this] { poll(); });
        timer_.start(kPollMilliseconds);
    }
    void add(const std::string& answer) { answers_.push_back(answer); }

private:
    void poll() {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box || box == answered_ || !box->isVisible()) return;
        answered_ = box;
        std::string answer = answers_.empty() ? "Escape" : answers_.front();
        if (!answers_.empty()) answers_.pop_front();
        std::size_t arrow = answer.find('>');
        if (arrow != std::string::npos) {
            box->grab().save(QString::fromStdString(answer.substr(arrow + 1)));
            answer.resize(arrow);
        }
        std::string buttons;
        for (QAbstractButton* button : box->buttons())
            buttons += (buttons.empty() ? "" : "|") + str(button->text());
        DialogSeen seen{iconName(box->icon()),
                        str(box->windowTitle()),
                        str(box->text()),
                        buttons,
                        box->defaultButton() ? str(box->defaultButton()->text()) : "",
                        box->escapeButton() ? str(box->escapeButton()->text()) : "",
                        centredOnScreen(box) ? "1" : "0",
                        box->isModal() ? "1" : "0",
                        linesWhole(box) ? "1" : "0",
                        answer};
        std::printf("dialog=%s\n", seen.encode().c_str());
        std::fflush(stdout);
        press(box, answer);
    }

    static void press(QMessageBox* box, const std::string& answer) {
        auto key = [box](int code) {
            QKeyEvent event(QEvent::KeyPress, code, Qt::NoModifier);
            QApplication::sendEvent(box->focusWidget() ? box->focusWidget() : box, &event);
        };
        if (answer == "Escape") return key(Qt::Key_Escape);
        if (answer == "Enter") return key(Qt::Key_Return);
        if (answer == "Close") {
            box->close();
            return;
        }
        for (QAbstractButton* button : box->buttons())
            if (button->text().remove('&') == QString::fromStdString(answer)) return button->click();
        std::printf("unknown-answer=%s\n", answer.c_str());
        key(Qt::Key_Escape);
    }

    QTimer timer_;
    std::deque<std::string> answers_;
    QPointer<QMessageBox> answered_;  // null again once that box is gone
};

void runSteps(const std::vector<std::string>& steps) {
    DialogAnswerer answerer;
    for (const std::string& step : steps) {
        if (step == "state") {
            emitState();
        } else if (step == "paths") {
            emitPaths();
        } else if (step == "click") {
            mainWindow()->findChild<QPushButton*>("BitBtn1")->click();
            std::printf("clicked\n");
        } else if (step.rfind("answers=", 0) == 0) {
            std::string list = step.substr(8);
            for (std::size_t start = 0; start <= list.size();) {
                std::size_t comma = std::min(list.find(',', start), list.size());
                if (comma > start) answerer.add(list.substr(start, comma - start));
                start = comma + 1;
            }
        } else if (step.rfind("copy=", 0) == 0) {
            std::size_t bar = step.find('|');
            os::copyFile(step.substr(5, bar - 5), step.substr(bar + 1));
        } else if (step == "nospace") {
            static FaultSeam fullDisk;
            fullDisk.failWhen([](const FaultSeam::Call& call) { return call.change == os::Change::Write; },
                              os::ErrorKind::NoSpace, "No space left on device");
        } else if (step.rfind("grab=", 0) == 0) {
            mainWindow()->grab().save(QString::fromStdString(step.substr(5)));
        } else {
            std::printf("unknown-step=%s\n", step.c_str());
        }
        std::fflush(stdout);
    }
    mainWindow()->close();
}

}  // namespace

int driveProgram(int stepCount, char** steps) {
    ui::Application->Initialize();
    ui::Application->CreateForm(Form1);
    std::vector<std::string> list(steps, steps + stepCount);
    QTimer::singleShot(0, [&] { runSteps(list); });
    QTimer::singleShot(kWatchdogMilliseconds, [] {
        std::printf("watchdog\n");
        std::fflush(stdout);
        std::_Exit(kWatchdogExitCode);
    });
    ui::Application->Run();
    return 0;
}
