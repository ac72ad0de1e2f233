#include "form/qt/application.h"

#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QResource>
#include <array>

#include "form/qt/stand_in_font.h"

namespace trolvane {
namespace {

constexpr std::array<int, 6> kIconSizes = {16, 24, 32, 48, 64, 128};

}  // namespace

void SetUpApplication() {
    QGuiApplication::setApplicationName("Trolvane");
    QGuiApplication::setDesktopFileName(kDesktopEntry);
    QGuiApplication::setFont(StandInFont(kSmallPoints));
}

// Each size is kept as raw pixels, so that no image is decoded at start-up.
QIcon TrolvaneIcon() {
    QIcon icon;
    for (const int size : kIconSizes) {
        const QResource pixels(QString(":/icons/%1.rgba").arg(size));
        const QImage image(pixels.data(), size, size, QImage::Format_RGBA8888);
        icon.addPixmap(QPixmap::fromImage(image));
    }
    return icon;
}

}  // namespace trolvane
