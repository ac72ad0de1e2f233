#include "form/application.h"

#include <QGuiApplication>
#include <array>

namespace trolvane {
namespace {

constexpr std::array<int, 6> kIconSizes = {16, 24, 32, 48, 64, 128};

}  // namespace

void IdentifyApplication() {
    QGuiApplication::setApplicationName("Trolvane");
    QGuiApplication::setDesktopFileName(kDesktopEntry);
}

QIcon TrolvaneIcon() {
    QIcon icon;
    for (const int size : kIconSizes) {
        icon.addFile(QString(":/icons/%1.png").arg(size), QSize(size, size));
    }
    return icon;
}

}  // namespace trolvane
