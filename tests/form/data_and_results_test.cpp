// The window's ways in and out: a data file opened as the command line does,
// a questionnaire with polychoric correlations, a refused file, a pasted
// matrix, and the results copied and saved.
#include <QComboBox>
#include <QContextMenuEvent>
#include <QFileDialog>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QStandardPaths>
#include <QTableWidget>
#include <QTemporaryDir>
#include <functional>

#include "form/qt/data_window.h"
#include "form/qt/how_many_window.h"
#include "form/qt/scree_plot_view.h"
#include "form/results.h"
#include "tests/data/questionnaire.h"
#include "tests/form/form_driver.h"

using namespace trolvane::testing;
using trolvane::DataWindow;

namespace {

// Twelve cases of four variables, with a header of names.
const char kRawData[] =
    "x1,x2,x3,x4\n3,5,2,7\n4,4,3,6\n6,7,5,5\n2,3,2,8\n5,6,6,4\n7,6,4,3\n"
    "1,2,3,9\n4,5,5,6\n6,5,7,4\n3,4,2,6\n5,7,4,5\n2,2,1,7\n";
const char kMatrix[] = "1 0.5 0.3\n0.5 1 0.2\n0.3 0.2 1\n";

QString TestData(const char* name) {
    return QString(TROLVANE_TEST_DATA "/") + name;
}

// Runs `act` on the first dialog of the given type that opens while `open`
// runs; false where none opened.
template <typename Dialog>
bool OnDialog(const std::function<void()>& open, const std::function<void(Dialog&)>& act) {
    bool opened = false;
    QTimer watcher;
    watcher.setInterval(5);
    QObject::connect(&watcher, &QTimer::timeout, [&] {
        auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget());
        if (dialog != nullptr && !opened) {
            opened = true;
            act(*dialog);
        }
    });
    watcher.start();
    open();
    return opened;
}

QPushButton* Button(const QDialog& dialog, const char* text) {
    for (QPushButton* button : dialog.findChildren<QPushButton*>()) {
        if (button->text() == text) {
            return button;
        }
    }
    qFatal("no button %s", text);
}

QString Summary(const QDialog& dialog) {
    return dialog.findChild<QPlainTextEdit*>("summary")->toPlainText();
}

// The summary of the data dialog that `open` opens, which is then cancelled;
// empty where none opened.
QString SummaryCancelled(const std::function<void()>& open) {
    QString summary;
    OnDialog<DataWindow>(open, [&](DataWindow& dialog) {
        summary = Summary(dialog);
        dialog.reject();
    });
    return summary;
}

// Every box's text and every caption, to tell whether anything changed.
QStringList Everything(const QWidget& form) {
    QStringList texts;
    for (const QLineEdit* box : form.findChildren<QLineEdit*>()) {
        texts << box->objectName() + "=" + box->text();
    }
    for (const QLabel* label : form.findChildren<QLabel*>()) {
        texts << label->objectName() + "=" + label->text();
    }
    return texts;
}

void RunWorkedExample(QWidget& form) {
    TypeInputs(form, {"4", "50", "0.48", "4"});
    Press(form, "Command1");
    const QStringList eigenvalues = {"2", "1", "0.6", "0.4"};
    for (int k = 1; k <= 4; ++k) {
        Type(form, Row("eigen", k), eigenvalues[k - 1]);
    }
    Press(form, "Command2");
}

}  // namespace

class DataAndResultsTest : public QObject {
    Q_OBJECT

  private:
    std::unique_ptr<trolvane::MainForm> form_;
    QTemporaryDir folder_;

    QString File(const QString& name, const QByteArray& bytes) {
        QFile file(folder_.filePath(name));
        file.open(QIODevice::WriteOnly);
        file.write(bytes);
        return file.fileName();
    }

    // The file opened and used with Return, then Ctrl+Shift+H: the How Many
    // Components window, or null where it did not open.
    trolvane::HowManyWindow* HowManyAfterUsing(const QString& path) {
        const bool used = OnDialog<DataWindow>(
            [&] { form_->OpenFile(path); },
            [](DataWindow& dialog) { QTest::keyClick(dialog.focusWidget(), Qt::Key_Return); });
        return used ? HowManyFromTheWindow() : nullptr;
    }

    // Ctrl+Shift+H once the window is active again.
    trolvane::HowManyWindow* HowManyFromTheWindow() {
        form_->activateWindow();
        if (!QTest::qWaitForWindowActive(form_.get())) {
            return nullptr;
        }
        QTest::keyClick(Box(*form_, "v"), Qt::Key_H, Qt::ControlModifier | Qt::ShiftModifier);
        return form_->findChild<trolvane::HowManyWindow*>();
    }

  private slots:
    // The file dialogs open in the working folder, the test's own,
    // and nothing they remember reaches the user's settings.
    void initTestCase() {
        QStandardPaths::setTestModeEnabled(true);
        QDir::setCurrent(folder_.path());
    }

    void init() {
        form_ = std::make_unique<trolvane::MainForm>();
        form_->show();
        QVERIFY(QTest::qWaitForWindowExposed(form_.get()));
    }
    void cleanup() { form_.reset(); }

    // Each menu holds the table's commands with their keys from the start.
    void menusHoldTheCommandTable() {
        QStringList expected;
        for (const trolvane::MenuEntry& entry : trolvane::kMenuCommands) {
            expected << QString("%1 > %2 %3")
                            .arg(entry.menu, entry.text,
                                 entry.hasKey ? QString("Ctrl+%1%2")
                                                    .arg(entry.key.shift ? "Shift+" : "")
                                                    .arg(entry.key.letter)
                                              : QString());
        }
        QStringList shown;
        for (QAction* title : form_->findChild<QMenuBar*>()->actions()) {
            for (const QAction* command : title->menu()->actions()) {
                shown << QString("%1 > %2 %3")
                             .arg(title->text().remove('&'), command->text(),
                                  command->shortcut().toString());
            }
        }
        QCOMPARE(shown, expected);
    }

    void fileOnTheCommandLineFillsTheWindowOnReturn() {
        const QString path = File("data.csv", kRawData);
        QVERIFY(OnDialog<DataWindow>(
            [&] { form_->OpenFile(path); },
            [](DataWindow& dialog) {
                QCOMPARE(dialog.windowTitle(), QString("Trolvane: Data"));
                QVERIFY(Summary(dialog).startsWith("Raw data: 12 cases of 4 variables"));
                QVERIFY(Button(dialog, "Use These Numbers")->isEnabled());
                QTest::keyClick(dialog.focusWidget(), Qt::Key_Return);
            }));
        QCOMPARE(QStringList({Text(*form_, "v"), Text(*form_, "n"), Text(*form_, "f")}),
                 QStringList({"4", "12", "3"}));
        const QStringList written = {Caption(*form_, "test_1"), Caption(*form_, "test_2")};
        QVERIFY(!written[0].isEmpty() && !written[1].isEmpty());
        // The boxes hold exactly what Test reads: pressing it again changes nothing.
        QVERIFY(!Press(*form_, "Command2").shown);
        QCOMPARE(QStringList({Caption(*form_, "test_1"), Caption(*form_, "test_2")}), written);
    }

    // After a data file, Ctrl+Shift+H shows the rules beside the window, their
    // table and plot copied for a report, the plot drawn where its layout says.
    void howManyComponentsAfterData() {
        auto* window = HowManyAfterUsing(File("data.csv", kRawData));
        QVERIFY(window != nullptr && window->isVisible());
        QCOMPARE(window->windowTitle(), QString("Trolvane: How Many Components"));
        auto* table = window->findChild<QTableWidget*>();
        QTRY_COMPARE(table->rowCount(), 4);
        const QString lines = window->findChild<QPlainTextEdit*>()->toPlainText();
        QCOMPARE(lines.split('\n').size(), 10);
        QVERIFY(lines.startsWith("Parallel analysis: keep "));
        QVERIFY(lines.contains("\nEmpirical Kaiser criterion: keep "));
        QVERIFY(lines.endsWith("\nHull method: needs at least 6 variables"));

        Button(*window, "Copy Table")->click();
        QVERIFY(QGuiApplication::clipboard()->text().startsWith("Component\tEigenvalue\t"));

        Button(*window, "Copy Plot")->click();
        const QMimeData* copied = QGuiApplication::clipboard()->mimeData();
        const QString svg = QString::fromUtf8(copied->data("image/svg+xml"));
        QCOMPARE(svg.count("<circle"), 4);
        QVERIFY(QImage::fromData(copied->data("image/png")).width() >= 1200);

        auto* view = window->findChild<trolvane::ScreePlotView*>();
        const trolvane::ScreePlot plot =
            view->laidOut({double(view->width()), double(view->height()), 1});
        const trolvane::Circle& first = plot.dots.front();
        const QColor drawn = view->grab().toImage().pixelColor(
            QPoint(qRound(first.centre.x), qRound(first.centre.y)));
        QCOMPARE(drawn, QColor(first.fill.red, first.fill.green, first.fill.blue));
    }

    // Two clusters of three that do not correlate with each other, as
    // textbooks print them: every rule, the table and the copies, and the
    // program still running.
    void howManyComponentsOnBlocksThatDoNotCorrelate() {
        Type(*form_, "n", "200");
        auto* window = HowManyAfterUsing(File("blocks.txt",
                                              "1 .6 .5 0 0 0\n.6 1 .4 0 0 0\n.5 .4 1 0 0 0\n"
                                              "0 0 0 1 .7 .6\n0 0 0 .7 1 .5\n0 0 0 .6 .5 1\n"));
        QVERIFY(window != nullptr);
        QTRY_COMPARE(window->findChild<QTableWidget*>()->rowCount(), 6);
        const QStringList lines = window->findChild<QPlainTextEdit*>()->toPlainText().split('\n');
        QCOMPARE(lines.size(), 10);
        QCOMPARE(lines[1], QString("Minimum average partial: keep 2 (fourth powers: 2)"));
        Button(*window, "Copy Table")->click();
        QVERIFY(!QGuiApplication::clipboard()->text().contains("nan"));
        Button(*window, "Copy Plot")->click();
        QCOMPARE(QString::fromUtf8(QGuiApplication::clipboard()->mimeData()->data("image/svg+xml"))
                     .count("<circle"),
                 6);
    }

    // Polychoric chosen from the keyboard: Shift+Tab from Use reaches the
    // choice, Down chooses it, and the summary and parallel analysis on
    // permuted answers are the ones every edition shows. The next file starts
    // with the choice: its variable that cannot be polychoric is named, with
    // Use disabled, until Pearson gives back the summary it had; a text
    // edited into a matrix offers no choice.
    void polychoricCorrelationsOfAQuestionnaire() {
        QVERIFY(
            OnDialog<DataWindow>([&] { form_->OpenFile(TestData("questionnaire.csv")); },
                                 [](DataWindow& dialog) {
                                     QTest::keyClick(dialog.focusWidget(), Qt::Key_Backtab);
                                     auto* choice = qobject_cast<QComboBox*>(dialog.focusWidget());
                                     QVERIFY(choice != nullptr);
                                     QCOMPARE(choice->accessibleName(), QString("Correlations"));
                                     QCOMPARE(choice->currentText(), QString("Pearson"));
                                     QTest::keyClick(choice, Qt::Key_Down);
                                     QCOMPARE(Summary(dialog), QString(kQuestionnaireSummary));
                                     QTest::keyClick(choice, Qt::Key_Return);
                                 }));
        QCOMPARE(Text(*form_, "n"), QString("300"));
        auto* window = HowManyFromTheWindow();
        QVERIFY(window != nullptr);
        const auto firstLine = [window] {
            return window->findChild<QPlainTextEdit*>()->toPlainText().section('\n', 0, 0);
        };
        QTRY_COMPARE_WITH_TIMEOUT(firstLine(), QString(kQuestionnaireParallelAnalysis), 30000);
        auto* table = window->findChild<QTableWidget*>();
        QCOMPARE(table->horizontalHeaderItem(2)->text(), QString("Random mean"));
        QCOMPARE(table->horizontalHeaderItem(3)->text(), QString("Random 95th percentile"));
        QCOMPARE(table->rowCount(), int(kQuestionnaireRandom.size()));
        for (int row = 0; row < table->rowCount(); ++row) {
            const auto& [mean, percentile] = kQuestionnaireRandom[std::size_t(row)];
            QCOMPARE(table->item(row, 2)->text(), QString(mean));
            QCOMPARE(table->item(row, 3)->text(), QString(percentile));
        }

        const QString aged = TestData("questionnaire_age.csv");
        QFile file(aged);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QString pearson = QString::fromStdString(
            trolvane::OpenDataDialog(file.readAll().toStdString(), trolvane::UserNumberFormat())
                .summary);
        QVERIFY(OnDialog<DataWindow>(
            [&] { form_->OpenFile(aged); },
            [&](DataWindow& dialog) {
                auto* choice = dialog.findChild<QComboBox*>();
                QCOMPARE(choice->currentText(), QString("Polychoric"));
                QCOMPARE(Summary(dialog), QString(kQuestionnaireAgeRefusal));
                QVERIFY(!Button(dialog, "Use These Numbers")->isEnabled());
                QTest::keyClick(choice, Qt::Key_Up);
                QCOMPARE(Summary(dialog), pearson);
                QVERIFY(Button(dialog, "Use These Numbers")->isEnabled());
                dialog.findChild<QPlainTextEdit*>("data")->setPlainText(kMatrix);
                QTRY_VERIFY(choice->isHidden());
                dialog.reject();
            }));
    }

    void refusedFileLeavesTheWindowAsItWas_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("no numbers") << QByteArray("name,town\nAnna,Graz\nBen,Linz\n");
        QTest::newRow("binary") << QByteArray(
            "\x7f"
            "ELF\x02\x01\x01\0\0\0\0\0\0\0\0\0",
            16);
        QTest::newRow("one variable") << QByteArray("x\n1\n2\n4\n");
    }

    void refusedFileLeavesTheWindowAsItWas() {
        QFETCH(QByteArray, bytes);
        RunWorkedExample(*form_);
        const QStringList before = Everything(*form_);
        const QString path = File("refused.csv", bytes);
        QVERIFY(OnDialog<DataWindow>([&] { form_->OpenFile(path); },
                                     [](DataWindow& dialog) {
                                         QVERIFY(!Summary(dialog).isEmpty());
                                         QVERIFY(!Button(dialog, "Use These Numbers")->isEnabled());
                                         QTest::mouseClick(Button(dialog, "Use These Numbers"),
                                                           Qt::LeftButton);
                                         QVERIFY(dialog.isVisible());
                                         QTest::keyClick(&dialog, Qt::Key_Escape);
                                     }));
        QCOMPARE(Everything(*form_), before);
    }

    // Ctrl+V and the box's own menu alike hand a matrix to the data dialog,
    // and the box keeps its text; Paste Data's keys work from inside a box.
    void pastedMatrixOpensTheDataDialog_data() {
        QTest::addColumn<Qt::KeyboardModifiers>("keys");
        QTest::newRow("Ctrl+V") << Qt::KeyboardModifiers(Qt::ControlModifier);
        QTest::newRow("Ctrl+Shift+V") << (Qt::ControlModifier | Qt::ShiftModifier);
        QTest::newRow("context menu") << Qt::KeyboardModifiers();
    }

    void pastedMatrixOpensTheDataDialog() {
        QFETCH(Qt::KeyboardModifiers, keys);
        QGuiApplication::clipboard()->setText(kMatrix);
        QLineEdit* box = Box(*form_, "n");
        box->setFocus();
        const auto paste = [&] {
            if (keys != Qt::NoModifier) {
                QTest::keyClick(box, Qt::Key_V, keys);
                return;
            }
            QTimer::singleShot(20, [] {
                auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
                for (QAction* action : menu->actions()) {
                    if (action->text().startsWith("&Paste")) {
                        menu->close();
                        action->trigger();
                    }
                }
            });
            QContextMenuEvent event(QContextMenuEvent::Keyboard, QPoint(5, 5),
                                    box->mapToGlobal(QPoint(5, 5)));
            QApplication::sendEvent(box, &event);
        };
        const QString summary = SummaryCancelled(paste);
        QVERIFY2(summary.startsWith("Correlation matrix of 3 variables"), qPrintable(summary));
        QCOMPARE(Text(*form_, "n"), QString(" "));
    }

    // A file dropped anywhere, a box included, opens the data dialog with it.
    void droppedFileOpensTheDataDialog_data() {
        QTest::addColumn<QString>("target");
        QTest::newRow("window") << QString("Label5");
        QTest::newRow("box") << QString("det");
    }

    void droppedFileOpensTheDataDialog() {
        QFETCH(QString, target);
        QWidget* widget = form_->findChild<QWidget*>(target);
        QMimeData dropped;
        dropped.setUrls({QUrl::fromLocalFile(File("dropped.csv", kRawData))});
        dropped.setText(dropped.urls().front().toString());
        // As a drag does: entering picks the widget that takes the drop.
        const auto drop = [&] {
            const QPoint at(2, 2);
            QDragEnterEvent enter(at, Qt::CopyAction, &dropped, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(widget, &enter);
            QDropEvent event(at, Qt::CopyAction, &dropped, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(widget, &event);
            QVERIFY(event.isAccepted());
            QCoreApplication::processEvents();
        };
        const QString summary = SummaryCancelled(drop);
        QVERIFY2(summary.startsWith("Raw data: 12 cases"), qPrintable(summary));
        QCOMPARE(Text(*form_, "det"), QString(" "));
    }

    void copyResultsPutsTheTableOnTheClipboard() {
        RunWorkedExample(*form_);
        QTest::keyClick(Box(*form_, "eigen_2"), Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier);
        const QMimeData* copied = QGuiApplication::clipboard()->mimeData();
        QVERIFY(copied->text().startsWith("Components kept\tEigenvalue"));
        QVERIFY(copied->text().contains(QString::fromUtf8("X\u00b2(5)= 9.728")));
        QVERIFY(copied->html().contains("<table"));
    }

    void nothingToCopyOrSaveIsSaidAndChangesNothing_data() {
        QTest::addColumn<Qt::Key>("key");
        QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
        QTest::newRow("copy") << Qt::Key_C
                              << Qt::KeyboardModifiers(Qt::ControlModifier | Qt::ShiftModifier);
        QTest::newRow("save") << Qt::Key_S << Qt::KeyboardModifiers(Qt::ControlModifier);
    }

    void nothingToCopyOrSaveIsSaidAndChangesNothing() {
        QFETCH(Qt::Key, key);
        QFETCH(Qt::KeyboardModifiers, modifiers);
        QGuiApplication::clipboard()->setText("kept");
        QString told;
        QVERIFY(OnDialog<QMessageBox>([&] { QTest::keyClick(Box(*form_, "v"), key, modifiers); },
                                      [&](QMessageBox& box) {
                                          told = box.text();
                                          box.accept();
                                      }));
        QCOMPARE(told, QString(trolvane::kNoResults));
        QCOMPARE(QGuiApplication::clipboard()->text(), QString("kept"));
    }

    // A file that cannot be written is reported, never passed over.
    void saveResultsWritesTheFileOrSaysWhyNot_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<bool>("saved");
        QTest::newRow("writable") << folder_.filePath("results.csv") << true;
        QTest::newRow("folder is a file") << folder_.filePath("data.csv/results.csv") << false;
    }

    void saveResultsWritesTheFileOrSaysWhyNot() {
        QFETCH(QString, path);
        QFETCH(bool, saved);
        File("data.csv", kRawData);
        RunWorkedExample(*form_);
        QString reported;
        QTimer reporter;
        reporter.setInterval(5);
        connect(&reporter, &QTimer::timeout, [&] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                reported = box->text();
                box->accept();
            }
        });
        reporter.start();
        QString proposed;
        QVERIFY(OnDialog<QFileDialog>(
            [&] { QTest::keyClick(form_.get(), Qt::Key_S, Qt::ControlModifier); },
            [&](QFileDialog& dialog) {
                proposed = dialog.selectedFiles().value(0);
                dialog.selectFile(path);
                static_cast<QDialog&>(dialog).accept();
            }));
        QCOMPARE(proposed.section('/', -1), QString("trolvane-results.csv"));
        QFile file(path);
        QCOMPARE(file.open(QIODevice::ReadOnly) && file.readAll().contains("Components kept"),
                 saved);
        QCOMPARE(reported.contains(path), !saved);
    }
};

QTEST_MAIN(DataAndResultsTest)
#include "data_and_results_test.moc"
