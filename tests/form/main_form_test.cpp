// The window driven through clicks and typing: start-up state, layout and look,
// the Start and Test commands, and failures that leave everything in place.
#include <QAccessible>
#include <QFile>
#include <QFont>
#include <QFontInfo>
#include <QPalette>
#include <QRegularExpression>
#include <QSignalSpy>

#include "form/qt/application.h"
#include "form/qt/caption.h"
#include "tests/form/form_driver.h"

using namespace trolvane::testing;

namespace {

const QString kWarning = "Can only test up to #factors - 1";
const QString kSentence =
    "Significant results indicate there is additional systematic variance -- consider an "
    "additional factor";
const QColor kOrange(255, 128, 0);

// Types the worked example's inputs and presses Start.
void StartWorkedExample(QWidget& form, const QString& factors) {
    Type(form, "v", "4");
    Type(form, "n", "50");
    Type(form, "det", "0.48");
    Type(form, "f", factors);
    Press(form, "Command1");
}

void TypeEigenvalues(QWidget& form, const QStringList& eigenvalues) {
    for (int k = 1; k <= eigenvalues.size(); ++k) {
        Type(form, Row("eigen", k), eigenvalues[k - 1]);
    }
}

QString Note(const QWidget& form, const QString& label) {
    return form.findChild<QLabel*>(label)->toolTip();
}

// The note names the caption's statistic and df, and its p-value sits on the
// caption's side of .05 and .01.
bool NoteAgreesWithCaption(const QString& note, const QString& caption) {
    static const QRegularExpression kCaption(
        QString::fromUtf8(" X\u00b2\\((.+)\\)= (.+) p ([<>]) \\.0(\\d)"));
    static const QRegularExpression kNote("Exact p = (.+) \\(chi-square (.+) on (.+) df\\)");
    const QRegularExpressionMatch c = kCaption.match(caption);
    const QRegularExpressionMatch n = kNote.match(note);
    if (!c.hasMatch() || !n.hasMatch() || c.captured(1) != n.captured(3) ||
        c.captured(2) != n.captured(2)) {
        return false;
    }
    const double p = n.captured(1).toDouble();
    const double level = c.captured(4) == "5" ? 0.05 : 0.01;
    return c.captured(3) == ">" ? p > level : p < level;
}

// Types v, n, det and f, presses Start, types the ten eigenvalues, presses Test.
void RunSession(QWidget& form, const QStringList& inputs, const QStringList& eigenvalues) {
    TypeInputs(form, inputs);
    Press(form, "Command1");
    TypeEigenvalues(form, eigenvalues);
    QVERIFY(!Press(form, "Command2").shown);
}

// The darkest pixel of the label as drawn: its text, where it has any.
int DarkestGrey(QWidget* label) {
    const QImage image = label->grab().toImage();
    int darkest = 255;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            darkest = std::min(darkest, qGray(image.pixel(x, y)));
        }
    }
    return darkest;
}

// The rows' controls are made when first shown; one not yet made is hidden.
int ShownRows(const QWidget& form) {
    int shown = 0;
    for (int k = 1; k <= 10; ++k) {
        const auto* box = form.findChild<QLineEdit*>(Row("eigen", k));
        shown += box != nullptr && !box->isHidden() ? 1 : 0;
    }
    return shown;
}

}  // namespace

class MainFormTest : public QObject {
    Q_OBJECT

  private:
    std::unique_ptr<trolvane::MainForm> form_;

  private slots:
    void init() {
        form_ = std::make_unique<trolvane::MainForm>();
        form_->show();
        QVERIFY(QTest::qWaitForWindowExposed(form_.get()));
    }
    void cleanup() { form_.reset(); }

    void startUpShowsOnlyTheInputs() {
        trolvane::MainForm fresh;
        QCOMPARE(fresh.windowTitle(), QString("Trolvane"));
        QCOMPARE(ShownRows(fresh), 0);
        for (const char* box : {"v", "n", "det"}) {
            QCOMPARE(Text(fresh, box), QString(" "));
        }
        QCOMPARE(Text(fresh, "f"), QString());
        QStringList empty = {"oops", "tlabel", "flabel", "elabel"};
        for (int k = 1; k <= 10; ++k) {
            const auto* box = fresh.findChild<QLineEdit*>(Row("eigen", k));
            QVERIFY(box == nullptr || box->text() == " ");
            empty << Row("fnum", k) << Row("test", k);
        }
        for (const QString& name : empty) {
            const auto* label = fresh.findChild<QLabel*>(name);
            QVERIFY2(label == nullptr || label->text().isEmpty(), qPrintable(name));
        }
        QCOMPARE(Caption(fresh, "Label5"),
                 QString::fromUtf8("Bartlett's X\u00b2 Test for  \"the next PC\""));
        QCOMPARE(Caption(fresh, "Label4"), QString("How many factors do you want to consider?"));
        QCOMPARE(fresh.findChild<QPushButton*>("Command1")->text(), QString("Start"));
        QCOMPARE(fresh.findChild<QPushButton*>("Command2")->text(), QString("Test"));
    }

    void controlsStandWhereDesigned_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QRect>("twips");
        QTest::addColumn<double>("points");
        QTest::addColumn<bool>("bold");
        const auto row = [](const char* name, QRect twips, double points, bool bold = false) {
            QTest::newRow(name) << QString(name) << twips << points << bold;
        };
        row("Label5", {120, 240, 4095, 375}, 9.75, true);
        row("Label1", {240, 960, 2295, 255}, 9.75);
        row("v", {2880, 840, 615, 375}, 12);
        row("Label2", {240, 1440, 1695, 255}, 9.75);
        row("n", {2880, 1320, 615, 375}, 12);
        row("Label3", {240, 1920, 1815, 255}, 9.75);
        row("det", {2400, 1800, 1815, 375}, 8.25);
        row("Label4", {240, 2400, 2175, 495}, 9.75);
        row("f", {2880, 2280, 615, 375}, 12);
        row("Command1", {3600, 2400, 615, 375}, 8.25);
        row("Command2", {3600, 2880, 615, 375}, 8.25);
        row("oops", {240, 3120, 3135, 375}, 8.25, true);
        row("tlabel", {2160, 3720, 2295, 615}, 8.25);
        row("flabel", {120, 3960, 615, 375}, 8.25);
        row("elabel", {960, 4080, 855, 255}, 8.25);
        for (int i = 1; i <= 10; ++i) {
            const int step = 480 * (i - 1);
            row(qPrintable(Row("fnum", i)), {240, 4680 + step, 375, 255}, 8.25);
            row(qPrintable(Row("eigen", i)), {960, 4560 + step, 975, 405}, 8.25);
            row(qPrintable(Row("test", i)), {2520, 4560 + step, 2175, 375}, 8.25);
        }
    }

    void controlsStandWhereDesigned() {
        QFETCH(QString, name);
        QFETCH(QRect, twips);
        QFETCH(double, points);
        QFETCH(bool, bold);
        // Start shows every row.
        TypeInputs(*form_, {"11", "50", "0.5", "10"});
        Press(*form_, "Command1");
        auto* control = form_->findChild<QWidget*>(name);
        QVERIFY(control != nullptr);
        const QRect pixels(twips.x() / 15, twips.y() / 15, twips.width() / 15, twips.height() / 15);
        QCOMPARE(control->geometry(), pixels);
        QCOMPARE(control->font().pointSizeF(), points);
        QCOMPARE(control->font().bold(), bold);
    }

    void windowIsOrangeWithABlueWarning() {
        StartWorkedExample(*form_, "4");
        // The form keeps its designed size below the menu bar, which the window
        // grows by; the window cannot be resized.
        auto* area = form_->findChild<QWidget*>("form");
        QCOMPARE(area->size(), QSize(332, 627));
        QCOMPARE(area->geometry().bottom(), form_->height() - 1);
        QVERIFY(area->y() > 0);
        QCOMPARE(form_->minimumSize(), form_->maximumSize());
        QCOMPARE(area->palette().color(QPalette::Window), kOrange);
        const QImage drawn = area->grab().toImage();
        for (QLabel* label : area->findChildren<QLabel*>()) {
            QCOMPARE(drawn.pixelColor(label->geometry().bottomRight()), kOrange);
            QCOMPARE(label->palette().color(QPalette::Window), kOrange);
            QVERIFY(label->wordWrap());
            QCOMPARE(label->textFormat(), Qt::PlainText);
        }
        auto* oops = form_->findChild<QLabel*>("oops");
        QCOMPARE(oops->palette().color(QPalette::WindowText), QColor(0, 0, 255));
        QVERIFY(form_->findChild<QLabel*>("Label5")->alignment() & Qt::AlignHCenter);
        for (const char* result : {"test_1", "tlabel"}) {
            QVERIFY(form_->findChild<QLabel*>(result)->textInteractionFlags() &
                    Qt::TextSelectableByMouse);
        }
    }

    void focusRunsThroughTheVisibleInputs() {
        StartWorkedExample(*form_, "2");
        QStringList order;
        QWidget* widget = Box(*form_, "v");
        do {
            if (widget->isVisible() && (widget->focusPolicy() & Qt::TabFocus)) {
                order << widget->objectName();
            }
            widget = widget->nextInFocusChain();
        } while (widget != Box(*form_, "v"));
        QCOMPARE(order,
                 QStringList({"v", "n", "det", "f", "Command1", "eigen_1", "eigen_2", "Command2"}));
    }

    void boxesHaveSpokenNames() {
        StartWorkedExample(*form_, "10");
        QCOMPARE(Box(*form_, "v")->accessibleName(), QString("Number of Variables"));
        QCOMPARE(Box(*form_, "n")->accessibleName(), QString("Sample size"));
        QCOMPARE(Box(*form_, "det")->accessibleName(), QString("Determinant of R"));
        QCOMPARE(Box(*form_, "f")->accessibleName(),
                 QString("How many factors do you want to consider?"));
        QCOMPARE(Box(*form_, "eigen_7")->accessibleName(), QString("Eigenvalue 7"));
    }

    void startPreparesTheRows_data() {
        QTest::addColumn<QString>("variables");
        QTest::addColumn<QString>("factors");
        QTest::addColumn<QString>("normalisedFactors");
        QTest::addColumn<bool>("warned");
        QTest::addColumn<int>("rows");
        QTest::newRow("4 variables, 3 factors") << "4"
                                                << "3"
                                                << "3" << false << 3;
        QTest::newRow("4 variables, 4 factors") << "4"
                                                << "4"
                                                << "4" << true << 4;
        QTest::newRow("both empty") << ""
                                    << ""
                                    << "0" << true << 0;
        QTest::newRow("2.50 factors") << "9"
                                      << "2.50"
                                      << "2.5" << false << 2;
        QTest::newRow("negative huge") << "9"
                                       << "-1e300"
                                       << "-1E+300" << false << 0;
        QTest::newRow("blank around") << " 9 "
                                      << " 1 0 "
                                      << "10" << true << 10;
    }

    void startPreparesTheRows() {
        QFETCH(QString, variables);
        QFETCH(QString, factors);
        QFETCH(QString, normalisedFactors);
        QFETCH(bool, warned);
        QFETCH(int, rows);
        Type(*form_, "v", variables);
        Type(*form_, "f", factors);
        QVERIFY(!Press(*form_, "Command1").shown);
        QCOMPARE(Text(*form_, "f"), normalisedFactors);
        QCOMPARE(Caption(*form_, "oops"), warned ? kWarning : QString());
        QCOMPARE(Caption(*form_, "flabel"), "1st  " + normalisedFactors + "  factors");
        QCOMPARE(Caption(*form_, "elabel"), QString("Eigenvalue"));
        QCOMPARE(ShownRows(*form_), rows);
        for (int k = 1; k <= 10; ++k) {
            QCOMPARE(Caption(*form_, Row("fnum", k)), k <= rows ? QString::number(k) : QString());
        }
        QVERIFY(Caption(*form_, "tlabel").isEmpty());
    }

    void startShowsButNeverHides() {
        Type(*form_, "v", "9");
        Type(*form_, "f", "5");
        Press(*form_, "Command1");
        Type(*form_, "eigen_5", "0.7");
        Type(*form_, "f", "3");
        Press(*form_, "Command1");
        QCOMPARE(ShownRows(*form_), 5);
        QCOMPARE(Caption(*form_, "fnum_5"), QString("5"));
        QCOMPARE(Text(*form_, "eigen_5"), QString("0.7"));
        QCOMPARE(Caption(*form_, "flabel"), QString("1st  3  factors"));
    }

    void startAboveTenRowsReportsAMissingElement() {
        Type(*form_, "v", "20");
        Type(*form_, "f", "12");
        const ErrorReport report = Press(*form_, "Command1");
        QVERIFY(report.shown);
        QVERIFY2(report.text.contains("Missing element"), qPrintable(report.text));
        QCOMPARE(ShownRows(*form_), 10);
        QCOMPARE(Caption(*form_, "fnum_10"), QString("10"));
        QVERIFY(form_->isVisible());
    }

    void testOnAFreshWindow() {
        QVERIFY(!Press(*form_, "Command2").shown);
        for (const char* box : {"v", "n", "det", "f"}) {
            QCOMPARE(Text(*form_, box), QString("0"));
        }
        QCOMPARE(Caption(*form_, "tlabel"), kSentence);
        for (int k = 1; k <= 10; ++k) {
            QVERIFY(Caption(*form_, Row("test", k)).isEmpty());
        }
    }

    void workedExampleRowByRow() {
        StartWorkedExample(*form_, "4");
        TypeEigenvalues(*form_, {"2", "1", "0.6", "0.4"});
        QVERIFY(!Press(*form_, "Command2").shown);
        QCOMPARE(Caption(*form_, "test_1"), QString::fromUtf8(" X\u00b2(5)= 9.728 p > .05"));
        QCOMPARE(Caption(*form_, "test_2"), QString::fromUtf8(" X\u00b2(2)= 1.857 p > .05"));
        QCOMPARE(Caption(*form_, "test_3"), QString::fromUtf8(" X\u00b2 has df = 0"));
        QVERIFY(Caption(*form_, "test_4").isEmpty());
        QCOMPARE(Caption(*form_, "tlabel"), kSentence);
        QCOMPARE(Note(*form_, "test_1"), QString("Exact p = 0.08331 (chi-square 9.728 on 5 df)"));
        QCOMPARE(Note(*form_, "test_2"), QString("Exact p = 0.3951 (chi-square 1.857 on 2 df)"));
        QVERIFY(Note(*form_, "test_3").isEmpty());
        QVERIFY(Note(*form_, "test_4").isEmpty());
        for (const char* row : {"test_1", "test_2"}) {
            const auto* label = form_->findChild<QLabel*>(row);
            QCOMPARE(label->accessibleDescription(), label->toolTip());
            QVERIFY2(NoteAgreesWithCaption(label->toolTip(), label->text()), row);
        }

        const QStringList first = {Caption(*form_, "test_1"), Caption(*form_, "test_2"),
                                   Caption(*form_, "test_3")};
        QVERIFY(!Press(*form_, "Command2").shown);
        QCOMPARE(QStringList({Caption(*form_, "test_1"), Caption(*form_, "test_2"),
                              Caption(*form_, "test_3")}),
                 first);
        QCOMPARE(Text(*form_, "det"), QString("0.48"));
    }

    void emptyFourthBoxStopsAfterRowThree() {
        StartWorkedExample(*form_, "4");
        TypeEigenvalues(*form_, {"2", "1", "0.6", ""});
        const ErrorReport report = Press(*form_, "Command2");
        QVERIFY(report.shown);
        QCOMPARE(report.title, QString("Trolvane"));
        QCOMPARE(report.icon, QMessageBox::Critical);
        QVERIFY2(report.text.contains("Type mismatch"), qPrintable(report.text));
        QVERIFY(report.text.contains("13"));
        QVERIFY(!report.advice.isEmpty());
        QCOMPARE(Caption(*form_, "test_3"), QString::fromUtf8(" X\u00b2 has df = 0"));
        QCOMPARE(Text(*form_, "eigen_3"), QString("0.6"));
        QCOMPARE(Text(*form_, "eigen_4"), QString());

        // The window survives: mend the box and press Test again.
        QVERIFY(form_->isVisible());
        Type(*form_, "eigen_4", "0.4");
        QVERIFY(!Press(*form_, "Command2").shown);
        QCOMPARE(Caption(*form_, "test_1"), QString::fromUtf8(" X\u00b2(5)= 9.728 p > .05"));
    }

    void blanksAroundInputsAreNormalisedAway() {
        Type(*form_, "v", "4 ");
        Type(*form_, "n", "50");
        Type(*form_, "det", "0.48");
        Type(*form_, "f", " 2");
        Press(*form_, "Command1");
        TypeEigenvalues(*form_, {"2", "1"});
        QVERIFY(!Press(*form_, "Command2").shown);
        QCOMPARE(Text(*form_, "v"), QString("4"));
        QCOMPARE(Text(*form_, "f"), QString("2"));
        QCOMPARE(Caption(*form_, "test_2"), QString::fromUtf8(" X\u00b2(2)= 1.857 p > .05"));
        QVERIFY(Caption(*form_, "test_3").isEmpty());
    }

    void everyCaptionShowsWhole_data() {
        QTest::addColumn<QStringList>("inputs");
        QTest::addColumn<QStringList>("eigenvalues");
        QTest::newRow("ten rows of large df")
            << QStringList{"250", "100000", "1E-30", "10"}
            << QStringList{"9", "8", "7", "6", "5", "4", "3", "2", "1", "0.5"};
        QTest::newRow("fractional df")
            << QStringList{"4.5", "50", "0.48", "10"} << QStringList(10, "0.3");
        QTest::newRow("negative statistics")
            << QStringList{"7", "100000", "5", "10"} << QStringList(10, "1");
    }

    // No word wider than its label, every line within its height but for the
    // last line's descent, measured as the label itself lays the caption out.
    void everyCaptionShowsWhole() {
        QFETCH(QStringList, inputs);
        QFETCH(QStringList, eigenvalues);
        RunSession(*form_, inputs, eigenvalues);
        QVERIFY(Caption(*form_, "test_1").startsWith(" "));
        for (const QLabel* label : form_->findChildren<QLabel*>()) {
            const QString what = label->objectName() + ": " + label->text();
            QVERIFY2(label->minimumSizeHint().width() <= label->width(), qPrintable(what));
            QVERIFY2(label->heightForWidth(label->width()) - label->fontMetrics().descent() <=
                         label->height(),
                     qPrintable(what));
        }
    }

    void aCaptionTooWideStepsItsFontDown() {
        const QFont designed = form_->findChild<QLabel*>("elabel")->font();
        const QSize natural = QFontMetrics(designed).size(0, "Eigenvalue");
        const QFont fitting = trolvane::FittingFont(designed, "Eigenvalue", natural - QSize(4, 0));
        QVERIFY(fitting.pointSizeF() < designed.pointSizeF());
        QVERIFY(trolvane::CaptionFits(fitting, "Eigenvalue", natural - QSize(4, 0)));
        QCOMPARE(trolvane::FittingFont(designed, "Eigenvalue", natural), designed);
    }

    void longNumbersShowWhole() { TypeLongNumbers(*form_, '.'); }

    void controlsUseWinesTahomaWhereInstalled() {
        if (!QFile::exists("/usr/share/wine/fonts/tahoma.ttf")) {
            QSKIP("Wine's fonts are not installed");
        }
        StartWorkedExample(*form_, "4");
        for (const char* control : {"Label5", "v", "Command1", "test_1"}) {
            QCOMPARE(QFontInfo(form_->findChild<QWidget*>(control)->font()).family(),
                     QString("Tahoma"));
        }
    }

    void labelTextIsBlackInADarkTheme() {
        const QPalette light = QApplication::palette();
        QPalette dark(QColor(40, 40, 40), QColor(30, 30, 30));
        dark.setColor(QPalette::WindowText, QColor(235, 235, 235));
        QApplication::setPalette(dark);
        trolvane::MainForm form;
        form.show();
        StartWorkedExample(form, "4");
        TypeEigenvalues(form, {"2", "1", "0.6", "0.4"});
        Press(form, "Command2");
        QApplication::setPalette(light);
        for (QLabel* label : form.findChildren<QLabel*>()) {
            const QColor text = label->objectName() == "oops" ? QColor(0, 0, 255) : Qt::black;
            QCOMPARE(label->palette().color(QPalette::WindowText), text);
        }
        for (const char* label : {"Label1", "tlabel", "test_1", "fnum_1"}) {
            QVERIFY2(DarkestGrey(form.findChild<QLabel*>(label)) < 60, label);
        }
    }

    void windowBelongsToItsLauncherEntry() {
        const QIcon icon = form_->windowIcon();
        for (const int size : {16, 32, 48, 128}) {
            QCOMPARE(icon.pixmap(size).size(), QSize(size, size));
            QVERIFY(icon.availableSizes().contains(QSize(size, size)));
        }
        trolvane::SetUpApplication();
        QFile entry(TROLVANE_DESKTOP_ENTRY);
        QVERIFY(entry.open(QIODevice::ReadOnly | QIODevice::Text));
        const QString text = QString::fromUtf8(entry.readAll());
        QCOMPARE(QGuiApplication::desktopFileName() + ".desktop",
                 QFileInfo(entry.fileName()).fileName());
        // On X11 a window's class is the application name.
        QVERIFY(text.contains("\nStartupWMClass=" + QGuiApplication::applicationName() + "\n"));
        // A file manager offers to open data files with Trolvane, and hands it the file.
        QVERIFY(text.contains("\nExec=trolvane %f\n"));
        QVERIFY(text.contains("\nMimeType=text/csv;text/tab-separated-values;\n"));
        QCOMPARE(QAccessible::queryAccessibleInterface(qApp)->text(QAccessible::Name),
                 QString("Trolvane"));
    }

    void failureNamesItsBoxAndSendsTheKeyboardThere_data() {
        QTest::addColumn<QStringList>("inputs");
        QTest::addColumn<QStringList>("eigenvalues");
        QTest::addColumn<QString>("advice");
        QTest::addColumn<QString>("box");
        QTest::newRow("word in a middle row")
            << QStringList{"9", "50", "0.48", "5"} << QStringList{"2", "1", "x", "0.4", "0.3"}
            << "Eigenvalue 3 holds no number."
            << "eigen_3";
        QTest::newRow("empty box")
            << QStringList{"4", "50", "0.48", "4"} << QStringList{"2", "1", "0.6", ""}
            << "Eigenvalue 4 holds no number."
            << "eigen_4";
        QTest::newRow("eleven rows")
            << QStringList{"20", "50", "0.001", "11"} << QStringList(10, "0.5")
            << "There are 10 rows: type a number of factors from 1 to 10."
            << "f";
        QTest::newRow("zero eigenvalue in row 2")
            << QStringList{"4", "50", "0.48", "2"} << QStringList{"2", "0"}
            << "Eigenvalue 2 is 0 or below, which no correlation matrix has."
            << "eigen_2";
        QTest::newRow("determinant too large")
            << QStringList{"4", "50", "1e400", "2"} << QStringList{"2", "1"}
            << "Determinant of R holds a number too large to compute with."
            << "det";
    }

    void failureNamesItsBoxAndSendsTheKeyboardThere() {
        QFETCH(QStringList, inputs);
        QFETCH(QStringList, eigenvalues);
        QFETCH(QString, advice);
        QFETCH(QString, box);
        TypeInputs(*form_, inputs);
        Press(*form_, "Command1");
        TypeEigenvalues(*form_, eigenvalues);
        Box(*form_, "v")->setFocus();
        const ErrorReport report = Press(*form_, "Command2");
        QCOMPARE(report.advice, advice + " Then press Test again.");
        QCOMPARE(form_->focusWidget(), Box(*form_, box));
        QCOMPARE(Box(*form_, box)->selectedText(), Text(*form_, box));
    }

    void pastedColumnFillsTheRows_data() {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("column");
        QTest::addColumn<QStringList>("rows");
        QTest::newRow("lines into the first row")
            << "eigen_1"
            << "2\r\n1\r\n0.6\r\n0.4\r\n"
            << QStringList{"2", "1", "0.6", "0.4", " ", " ", " ", " ", " ", " "};
        QTest::newRow("tabs into a middle row")
            << "eigen_2"
            << "1\t0.6\t\t0.4\t\t"
            << QStringList{" ", "1", "0.6", "", "0.4", " ", " ", " ", " ", " "};
        QTest::newRow("past row 10")
            << "eigen_8"
            << "3\n2\n1\n0.5" << QStringList{" ", " ", " ", " ", " ", " ", " ", "3", "2", "1"};
        QTest::newRow("one field")
            << "eigen_1"
            << "2.5" << QStringList{"2.5", " ", " ", " ", " ", " ", " ", " ", " ", " "};
    }

    void pastedColumnFillsTheRows() {
        QFETCH(QString, box);
        QFETCH(QString, column);
        QFETCH(QStringList, rows);
        Type(*form_, "v", "12");
        Type(*form_, "f", "1");
        Press(*form_, "Command1");
        Paste(*form_, box, column);
        for (int k = 1; k <= 10; ++k) {
            const bool filled = rows[k - 1] != " ";
            QCOMPARE(Text(*form_, Row("eigen", k)), rows[k - 1]);
            QCOMPARE(!Box(*form_, Row("eigen", k))->isHidden(), k == 1 || filled);
            QCOMPARE(Caption(*form_, Row("fnum", k)),
                     k == 1 || filled ? QString::number(k) : QString());
        }
        QCOMPARE(Text(*form_, "f"), QString("1"));
        QVERIFY(Caption(*form_, "tlabel").isEmpty());
    }

    void linesPastedIntoAnInputBoxKeepTheFirstNumber() {
        Paste(*form_, "v", "\n4\n50\n");
        QCOMPARE(Text(*form_, "v"), QString("4"));
        Press(*form_, "Command2");
        QCOMPARE(Text(*form_, "v"), QString("4"));
    }

    // An out-of-date row is drawn otherwise and says so; written again, it looks
    // exactly as before.
    void anOutOfDateRowIsMarkedUntilTestWritesItAgain() {
        StartWorkedExample(*form_, "4");
        TypeEigenvalues(*form_, {"2", "1", "0.6", "0.4"});
        Press(*form_, "Command2");
        auto* row = form_->findChild<QLabel*>("test_1");
        const QImage current = row->grab().toImage();
        Type(*form_, "n", "60");
        QVERIFY(row->font().italic());
        QVERIFY(row->grab().toImage() != current);
        QVERIFY(row->toolTip().startsWith("Out of date: Sample size has changed"));
        QCOMPARE(row->accessibleDescription(), row->toolTip());
        Type(*form_, "n", "50");
        Press(*form_, "Command2");
        QCOMPARE(row->grab().toImage(), current);
    }

    void returnMovesOnAndRunsTheCommands() {
        Type(*form_, "v", "4");
        QTest::keyClick(Box(*form_, "v"), Qt::Key_Return);
        QCOMPARE(form_->focusWidget(), Box(*form_, "n"));
        TypeInputs(*form_, {"4", "50", "0.48", "2"});
        QTest::keyClick(Box(*form_, "f"), Qt::Key_Return);
        QCOMPARE(form_->focusWidget(), Box(*form_, "eigen_1"));
        TypeEigenvalues(*form_, {"2", "1"});
        QTest::keyClick(Box(*form_, "eigen_2"), Qt::Key_Enter);
        QCOMPARE(Caption(*form_, "test_2"), QString::fromUtf8(" X\u00b2(2)= 1.857 p > .05"));
    }

    // A screen reader walks only the labels that have a caption.
    void emptyLabelsAreHidden() {
        StartWorkedExample(*form_, "2");
        for (QLabel* label : form_->findChildren<QLabel*>()) {
            QCOMPARE(label->isVisible(), !label->text().isEmpty());
        }
    }

    void failuresAreReportedAndLoseNothing_data() {
        QTest::addColumn<QString>("determinant");
        QTest::addColumn<QString>("factors");
        QTest::addColumn<QStringList>("eigenvalues");
        QTest::addColumn<QString>("description");
        QTest::addColumn<int>("captionsWritten");
        QTest::addColumn<QString>("sentence");
        QTest::newRow("zero determinant")
            << "0"
            << "2" << QStringList{"2", "1"} << "Invalid argument" << 0 << kSentence;
        QTest::newRow("zero eigenvalue")
            << "0.48"
            << "2" << QStringList{"2", "0"} << "Division by zero" << 1 << kSentence;
        QTest::newRow("word as eigenvalue")
            << "0.48"
            << "2" << QStringList{"2", "one"} << "Type mismatch" << 1 << kSentence;
        QTest::newRow("determinant too large to normalise")
            << "1e400"
            << "2" << QStringList{"2", "1"} << "Overflow" << 0 << QString();
        QTest::newRow("eleven rows") << "0.48"
                                     << "1e300" << QStringList{"2", "1", "0.6", "0.4"}
                                     << "Missing element" << 3 << kSentence;
    }

    void failuresAreReportedAndLoseNothing() {
        QFETCH(QString, determinant);
        QFETCH(QString, factors);
        QFETCH(QStringList, eigenvalues);
        QFETCH(QString, description);
        QFETCH(int, captionsWritten);
        QFETCH(QString, sentence);
        StartWorkedExample(*form_, "4");
        TypeEigenvalues(*form_, {"2", "1", "0.6", "0.4"});
        for (int k = 5; k <= 10; ++k) {
            Box(*form_, Row("eigen", k))->setText("0.01");
        }
        TypeEigenvalues(*form_, eigenvalues);
        Type(*form_, "det", determinant);
        Type(*form_, "f", factors);
        const ErrorReport report = Press(*form_, "Command2");
        QVERIFY(report.shown);
        QVERIFY2(report.text.contains(description), qPrintable(report.text));
        QVERIFY(form_->isVisible());
        for (int k = 1; k <= eigenvalues.size(); ++k) {
            QCOMPARE(Text(*form_, Row("eigen", k)), eigenvalues[k - 1]);
        }
        for (int k = 1; k <= 3; ++k) {
            QCOMPARE(Caption(*form_, Row("test", k)).isEmpty(), k > captionsWritten);
        }
        QCOMPARE(Caption(*form_, "tlabel"), sentence);
        QCOMPARE(Text(*form_, "det").isEmpty(), determinant.isEmpty());
    }
};

QTEST_MAIN(MainFormTest)
#include "main_form_test.moc"
