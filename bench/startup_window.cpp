// Start-up probe: builds a window exactly as the program does and ends the
// process the moment that window has been exposed and painted, so that a run
// counts exec to first expose and nothing of the teardown. Built twice: with
// Trolvane's window, and for comparison with a Qt window showing one label.
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
#else
#include "form/qt/application.h"
#include "form/qt/main_form.h"
using Window = trolvane::MainForm;
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
