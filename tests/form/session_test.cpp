// Thousands of random steps of a user session: typing anything into any visible
// box, pressing Start or Test in any order. After every step the window must
// match what the rules give for the same boxes, every exact p-value note must
// stand beside its caption, and every failure must be named.
#include <QMap>
#include <QRandomGenerator>
#include <optional>

#include "engine/chi_square.h"
#include "engine/component_test.h"
#include "engine/significance.h"
#include "form/qt/main_form.h"
#include "tests/form/form_driver.h"

using namespace trolvane;
using namespace trolvane::testing;

namespace {

// Every text, caption and hidden flag of the window, by control name.
using Snapshot = QMap<QString, QString>;

// The exact p-value part of a label's note, its last line; the marks before it
// are the window logic's own tests' concern.
QString ExactPNote(const QString& note) {
    const QString last = note.section('\n', -1);
    return last.startsWith("Exact p") ? last : QString();
}

Snapshot Take(const QWidget& form) {
    Snapshot snapshot;
    for (const QLineEdit* box : form.findChildren<QLineEdit*>()) {
        snapshot["text:" + box->objectName()] = box->text();
        snapshot["hidden:" + box->objectName()] = box->isHidden() ? "yes" : "no";
    }
    for (const QLabel* label : form.findChildren<QLabel*>()) {
        snapshot["caption:" + label->objectName()] = label->text();
        snapshot["note:" + label->objectName()] = ExactPNote(label->toolTip());
        snapshot["description:" + label->objectName()] = ExactPNote(label->accessibleDescription());
    }
    // The rows' controls are made when first shown; until then each row is as
    // the window starts: its box hidden with a blank, its labels empty.
    for (int k = 1; k <= kRows; ++k) {
        if (!snapshot.contains("text:" + Row("eigen", k))) {
            snapshot["text:" + Row("eigen", k)] = " ";
            snapshot["hidden:" + Row("eigen", k)] = "yes";
            for (const char* label : {"fnum", "test"}) {
                for (const char* what : {"caption:", "note:", "description:"}) {
                    snapshot[what + Row(label, k)] = "";
                }
            }
        }
    }
    return snapshot;
}

// The rules of the two commands, applied to a snapshot.
class Rules {
  public:
    explicit Rules(Snapshot& form) : form_(form), format_(UserNumberFormat()) {}

    std::optional<ErrorKind> Start() {
        return Guarded([&] {
            Normalise("f");
            Normalise("v");
            if (Number("v") - 1 < Number("f")) {
                form_["caption:oops"] = "Can only test up to #factors - 1";
            }
            form_["caption:flabel"] = "1st  " + form_["text:f"] + "  factors";
            form_["caption:elabel"] = "Eigenvalue";
            for (int k = 1; k <= Number("f"); ++k) {
                CheckRow(k);
                form_["caption:" + Row("fnum", k)] = QString::number(k);
                form_["hidden:" + Row("eigen", k)] = "no";
            }
        });
    }

    std::optional<ErrorKind> Test() {
        return Guarded([&] {
            for (const char* box : {"n", "v", "det", "f"}) {
                Normalise(box);
            }
            form_["caption:tlabel"] =
                "Significant results indicate there is additional systematic variance -- "
                "consider an additional factor";
            RowTotals totals;
            for (int k = 1; k <= Number("f"); ++k) {
                CheckRow(k);
                totals.add(Number(Row("eigen", k)));
                if (IsTestable(k, Number("v"))) {
                    const ComponentResult r =
                        ComponentTest(Number("v"), Number("n"), Number("det"), k, totals);
                    form_["caption:" + Row("test", k)] =
                        QString::fromStdString(Significance(r.chisq, r.df, format_));
                    const QString note =
                        QString::fromStdString(ExactPText(r.chisq, r.df, format_).value_or(""));
                    form_["note:" + Row("test", k)] = note;
                    form_["description:" + Row("test", k)] = note;
                }
            }
        });
    }

  private:
    template <typename Steps>
    static std::optional<ErrorKind> Guarded(Steps steps) {
        try {
            steps();
        } catch (const RunError& error) {
            return error.kind();
        }
        return std::nullopt;
    }

    static void CheckRow(int k) {
        if (k > kRows) {
            throw RunError(ErrorKind::MissingElement);
        }
    }

    void Normalise(const QString& box) {
        QString& text = form_["text:" + box];
        text = QString::fromStdString(Normalised(text.toStdString(), format_));
    }

    double Number(const QString& box) {
        return StrictNumber(form_["text:" + box].toStdString(), format_);
    }

    Snapshot& form_;
    NumberFormat format_;
};

QString Description(std::optional<ErrorKind> kind) {
    return kind ? QString(RunError(*kind).what()) : QString();
}

// What a user might type: plausible numbers most of the time, anything else too.
QString RandomText(QRandomGenerator& random, const QString& box) {
    static const QStringList kOddTexts = {
        "",   " ", "abc",    "1e309", "-9E+999", "3,5", "&H1F", "&O777", "1.5.3",   " 1 2 ",
        "-0", "0", "1e-400", "2.50",  "4 ",      "NaN", "inf",  "-.5",   "1,234.5", "12e",
    };
    if (random.bounded(4) == 0) {
        return kOddTexts[random.bounded(kOddTexts.size())];
    }
    if (box == "v") {
        return QString::number(random.bounded(1, 14));
    }
    if (box == "f") {
        return QString::number(random.bounded(0, 13));
    }
    if (box == "n") {
        return QString::number(random.bounded(5, 600));
    }
    return QString::number(random.generateDouble() * 3, 'g', random.bounded(1, 17));
}

QStringList VisibleBoxes(const QWidget& form) {
    QStringList boxes = {"v", "n", "det", "f"};
    for (int k = 1; k <= kRows; ++k) {
        const auto* box = form.findChild<QLineEdit*>(Row("eigen", k));
        if (box != nullptr && !box->isHidden()) {
            boxes << Row("eigen", k);
        }
    }
    return boxes;
}

QList<quint32> Seeds() {
    QList<quint32> seeds;
    for (const QString& seed : qEnvironmentVariable("TROLVANE_SESSION_SEEDS", "20261208,7,1999")
                                   .split(',', Qt::SkipEmptyParts)) {
        seeds << seed.toUInt();
    }
    return seeds;
}

}  // namespace

class SessionTest : public QObject {
    Q_OBJECT

  private slots:
    void randomSessionsFollowTheRules() {
        const int steps = qEnvironmentVariableIntValue("TROLVANE_SESSION_STEPS") > 0
                              ? qEnvironmentVariableIntValue("TROLVANE_SESSION_STEPS")
                              : 2000;
        for (const quint32 seed : Seeds()) {
            QRandomGenerator random(seed);
            MainForm form;
            form.show();
            Snapshot expected = Take(form);
            for (int step = 1; step <= steps; ++step) {
                const QString where = QString("seed %1, step %2").arg(seed).arg(step);
                std::optional<ErrorKind> failure;
                ErrorReport report;
                switch (random.bounded(6)) {
                    case 0:
                        failure = Rules(expected).Start();
                        report = Press(form, "Command1");
                        break;
                    case 1:
                        failure = Rules(expected).Test();
                        report = Press(form, "Command2");
                        break;
                    default: {
                        const QStringList boxes = VisibleBoxes(form);
                        const QString box = boxes[random.bounded(boxes.size())];
                        const QString text = RandomText(random, box);
                        Type(form, box, text);
                        expected["text:" + box] = text;
                    }
                }
                QVERIFY2(form.isVisible(), qPrintable(where));
                QVERIFY2(report.shown == failure.has_value(), qPrintable(where));
                QVERIFY2(report.text.contains(Description(failure)),
                         qPrintable(where + ": " + report.text));
                const Snapshot actual = Take(form);
                for (auto it = expected.cbegin(); it != expected.cend(); ++it) {
                    QVERIFY2(
                        actual.value(it.key()) == it.value(),
                        qPrintable(where + ": " + it.key() + " is \"" + actual.value(it.key()) +
                                   "\", expected \"" + it.value() + "\""));
                }
            }
        }
    }
};

QTEST_MAIN(SessionTest)
#include "session_test.moc"
