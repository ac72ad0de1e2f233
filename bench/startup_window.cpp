// Start-up probe: builds a window exactly as the program does, and ends the
// process as soon as the window is shown and painted. Built three times: with
// Trolvane's window, and for comparison with an empty window of the same size
// and with one that shows a single line of text.
#include <QApplication>
#include <QLabel>
#include <QTimer>
#include <QWindow>

#if defined(STARTUP_EMPTY_WINDOW)
#include <QWidget>
using Window = QWidget;
#elif defined(STARTUP_TEXT_WINDOW)
// Any text on screen starts the font system, which an empty window never does.
class Window : public QWidget {
  public:
    Window() { new QLabel("Trolvane", this); }
};
#else
#include "form/main_form.h"
using Window = trolvane::MainForm;
#endif

namespace {

// Quits once the window is exposed, after the paint that follows.
class QuitWhenShown : public QObject {
  public:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Expose && static_cast<QWindow*>(watched)->isExposed()) {
            QTimer::singleShot(0, qApp, &QCoreApplication::quit);
        }
        return false;
    }
};

}  // namespace

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    Window window;
    window.setWindowTitle("Trolvane");
    window.setFixedSize(332, 627);
    window.show();
    QuitWhenShown quitWhenShown;
    window.windowHandle()->installEventFilter(&quitWhenShown);
    return application.exec();
}
