// Start-up probe: builds a window exactly as the program does and ends the
// process the moment that window has been exposed and painted, so that a run
// counts exec to first expose and nothing of the teardown. Built four times:
// with Trolvane's window, and for comparison with a Qt window showing one
// label, the same form written plainly, and that form under a plain menu bar.
#include <QApplication>
#include <QLabel>
#include <QTimer>
#include <QWindow>
#include <cstdlib>

#if defined(STARTUP_LABEL_WINDOW)
class Window : public QWidget {
  public:
    Window() {
        new QLabel("Trolvane", this);
        setWindowTitle("Trolvane");
        setFixedSize(332, 627);
    }
};
#elif defined(STARTUP_PLAIN_FORM)
#include <QLineEdit>
#include <QMainWindow>
#include <QMenuBar>
#include <QPushButton>

#include "form/controls.h"
#include "form/menus.h"
#include "form/qt/main_form.h"
#include "form/qt/stand_in_font.h"

// The form as a Qt developer would write it first: every control made at once
// from the control table, in its font and place, on the orange background.
QWidget* PlainForm(QWidget* parent = nullptr) {
    using namespace trolvane;
    auto* form = new QWidget(parent);
    form->setFixedSize(kClientArea.width / kTwipsPerPixelAt96Dpi,
                       kClientArea.height / kTwipsPerPixelAt96Dpi);
    QPalette orange = form->palette();
    orange.setColor(QPalette::Window, QColor(kOrange.red, kOrange.green, kOrange.blue));
    form->setPalette(orange);
    form->setAutoFillBackground(true);
    for (const ControlEntry& entry : kControls) {
        QWidget* control = nullptr;
        const QString text = QString::fromUtf8(entry.text);
        switch (entry.kind) {
            case Kind::Box:
                control = new QLineEdit(text, form);
                control->setVisible(entry.id.row == 0);
                break;
            case Kind::Button:
                control = new QPushButton(text, form);
                break;
            default: {
                auto* label = new QLabel(text, form);
                label->setWordWrap(true);
                control = label;
            }
        }
        control->setFont(StandInFont(entry.look.points, entry.look.bold));
        const Twips& place = entry.place;
        constexpr int k = kTwipsPerPixelAt96Dpi;
        control->setGeometry(place.left / k, place.top / k, place.width / k, place.height / k);
    }
    return form;
}

#if defined(STARTUP_PLAIN_MENUS)
// The plain form under a menu bar holding the same commands with their keys.
class Window : public QMainWindow {
  public:
    Window() {
        setWindowTitle("Trolvane");
        setCentralWidget(PlainForm());
        QMenu* menu = nullptr;
        for (const trolvane::MenuEntry& entry : trolvane::kMenuCommands) {
            if (menu == nullptr || menu->title().mid(1) != QLatin1String(entry.menu)) {
                menu = menuBar()->addMenu(QString("&") + entry.menu);
            }
            QAction* action = menu->addAction(QString::fromUtf8(entry.text));
            if (entry.hasKey) {
                action->setShortcut(trolvane::KeysOf(entry));
            }
        }
        menuBar()->setNativeMenuBar(false);
    }
};
#else
class Window : public QWidget {
  public:
    Window() {
        setWindowTitle("Trolvane");
        PlainForm(this);
        setFixedSize(332, 627);
    }
};
#endif
#else
#include "form/qt/main_form.h"
using Window = trolvane::MainForm;
#endif
#if !defined(STARTUP_LABEL_WINDOW)
#include "form/qt/application.h"
#endif

namespace {

// Ends the process once the window is exposed, after the paint that follows.
class EndWhenShown : public QObject {
  public:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Expose && static_cast<QWindow*>(watched)->isExposed()) {
            QTimer::singleShot(0, [] { std::_Exit(EXIT_SUCCESS); });
        }
        return false;
    }
};

}  // namespace

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
#if !defined(STARTUP_LABEL_WINDOW)
    trolvane::SetUpApplication();
#endif
    Window window;
    window.show();
    EndWhenShown endWhenShown;
    window.windowHandle()->installEventFilter(&endWhenShown);
    return application.exec();
}
