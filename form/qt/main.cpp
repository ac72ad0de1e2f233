// Trolvane's entry point: the command line, the application, its one window
// and the event loop.
#include <QApplication>
#include <QFile>
#include <QTimer>
#include <cstdio>
#include <cstring>
#include <string>

#include "form/about.h"
#include "form/qt/application.h"
#include "form/qt/main_form.h"

namespace {

void Print(std::FILE* stream, std::string text) {
    if (!text.empty() && text.back() != '\n') {
        text += '\n';
    }
    std::fwrite(text.data(), 1, text.size(), stream);
}

// The text --help or --version asks for, which is printed without opening a
// window; empty for any other command line.
std::string Answer(int argc, char* argv[]) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            return trolvane::CommandLineHelp();
        }
        if (std::strcmp(argv[i], "--version") == 0) {
            return trolvane::NameAndVersion();
        }
    }
    return {};
}

// Qt's own options start with one dash; a long option other than ours is a
// mistake, told before any window is opened.
bool UnknownLongOption(int argc, char* argv[]) {
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], "--", 2) == 0) {
            return true;
        }
    }
    return false;
}

}  // namespace

int main(int argc, char* argv[]) {
    if (const std::string answer = Answer(argc, argv); !answer.empty()) {
        Print(stdout, answer);
        return 0;
    }
    if (UnknownLongOption(argc, argv)) {
        Print(stderr, trolvane::CommandLineHelp());
        return 2;
    }
    // Qt takes its own options out of the command line; what is left is the
    // file to open, if any.
    QApplication application(argc, argv);
    if (argc > 2 || (argc == 2 && argv[1][0] == '-')) {
        Print(stderr, trolvane::CommandLineHelp());
        return 2;
    }
    trolvane::SetUpApplication();
    trolvane::MainForm form;
    form.show();
    if (argc == 2) {
        const QString file = QFile::decodeName(argv[1]);
        QTimer::singleShot(0, &form, [&form, file] { form.OpenFile(file); });
    }
    return application.exec();
}
