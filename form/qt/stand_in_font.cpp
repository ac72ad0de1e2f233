#include "form/qt/stand_in_font.h"

#include <QFontDatabase>
#include <QStringList>

namespace trolvane {
namespace {

const QString kTahoma = QStringLiteral("Tahoma");

// Wine's free Tahoma, metric-compatible with the original; the package does
// not register it with the desktop's font configuration. Its bold face draws
// no heavier than the regular one, so bold text is emboldened from the regular.
constexpr char kWineTahoma[] = "/usr/share/wine/fonts/tahoma.ttf";

bool LoadWineTahoma() {
    const int id = QFontDatabase::addApplicationFont(QString::fromLatin1(kWineTahoma));
    return id >= 0 && QFontDatabase::applicationFontFamilies(id).contains(kTahoma);
}

QString ChooseFamily() {
    // The exact family, not a substitute the font configuration would alias to it.
    if (QFontDatabase::families().contains(kTahoma, Qt::CaseInsensitive) || LoadWineTahoma()) {
        return kTahoma;
    }
    return QFontDatabase::systemFont(QFontDatabase::GeneralFont).family();
}

}  // namespace

QString StandInFamily() {
    static const QString family = ChooseFamily();
    return family;
}

QFont StandInFont(double points, bool bold) {
    QFont font(StandInFamily());
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

}  // namespace trolvane
