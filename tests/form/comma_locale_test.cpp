// The window in a locale that writes 0,48: normalised boxes read back to the same
// number, so pressing Test twice gives the same boxes and captions.
#include <QLocale>

#include "tests/form/form_driver.h"

using namespace trolvane::testing;

class CommaLocaleTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() {
        if (QLocale::system().decimalPoint() != ",") {
            QSKIP("the system locale does not write a decimal comma");
        }
    }

    void testTwiceKeepsBoxesAndCaptions() {
        trolvane::MainForm form;
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        TypeInputs(form, {"4", "50", "0.48", "3"});
        Press(form, "Command1");
        Type(form, "eigen_1", "2");
        Type(form, "eigen_2", "1");
        Type(form, "eigen_3", "0,6");
        QVERIFY(!Press(form, "Command2").shown);
        QCOMPARE(Text(form, "det"), QString("0,48"));
        QCOMPARE(Caption(form, "test_1"), QString::fromUtf8(" X\u00b2(5)= 9,728 p > .05"));
        QCOMPARE(Caption(form, "test_2"), QString::fromUtf8(" X\u00b2(2)= 1,857 p > .05"));

        QVERIFY(!Press(form, "Command2").shown);
        QCOMPARE(Text(form, "det"), QString("0,48"));
        QCOMPARE(Caption(form, "test_1"), QString::fromUtf8(" X\u00b2(5)= 9,728 p > .05"));
        QCOMPARE(Caption(form, "test_3"), QString::fromUtf8(" X\u00b2 has df = 0"));
    }

    void longNumbersShowWhole() {
        trolvane::MainForm form;
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        TypeLongNumbers(form, ',');
    }

    void pastedColumnIsReadWithTheDecimalComma() {
        trolvane::MainForm form;
        TypeInputs(form, {"4", "50", "0,48", "3"});
        Press(form, "Command1");
        Paste(form, "eigen_1", "2\r\n1\r\n0,6\r\n");
        QVERIFY(!Press(form, "Command2").shown);
        QCOMPARE(Caption(form, "test_2"), QString::fromUtf8(" X\u00b2(2)= 1,857 p > .05"));
    }

    void pointTypedEigenvalueIsNotReadAsThousands() {
        trolvane::MainForm form;
        TypeInputs(form, {"4", " ", "0,48", "1"});
        Press(form, "Command1");
        Type(form, "eigen_1", "0.6");
        const ErrorReport report = Press(form, "Command2");
        QVERIFY(report.text.contains("Type mismatch"));
    }
};

QTEST_MAIN(CommaLocaleTest)
#include "comma_locale_test.moc"
