// Trolvane's entry point: the application, its one window and the event loop.
#include <QApplication>

#include "form/qt/application.h"
#include "form/qt/main_form.h"

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    trolvane::SetUpApplication();
    trolvane::MainForm form;
    form.show();
    return application.exec();
}
