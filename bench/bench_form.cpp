// The window's cost, headless: building MainForm, and one Start and one Test
// click with ten rows.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>

#include "form/qt/main_form.h"

namespace {

using trolvane::MainForm;

void Type(MainForm& form, const QString& box, const QString& text) {
    form.findChild<QLineEdit*>(box)->setText(text);
}

// A window with eleven variables and ten eigenvalues, its rows prepared.
void FillTenRows(MainForm& form) {
    Type(form, "v", "11");
    Type(form, "n", "200");
    Type(form, "det", "0.002");
    Type(form, "f", "10");
    form.findChild<QPushButton*>("Command1")->click();
    const QStringList eigenvalues = {"3.1", "1.9", "1.4",  "1.1",  "0.9",
                                     "0.7", "0.6", "0.45", "0.35", "0.3"};
    for (int k = 1; k <= 10; ++k) {
        Type(form, QString("eigen_%1").arg(k), eigenvalues[k - 1]);
    }
}

void ConstructMainForm(benchmark::State& state) {
    for (auto _ : state) {
        MainForm form;
        benchmark::DoNotOptimize(&form);
    }
}
BENCHMARK(ConstructMainForm)->Unit(benchmark::kMillisecond);

void ClickButton(benchmark::State& state, const char* button) {
    MainForm form;
    FillTenRows(form);
    QPushButton* command = form.findChild<QPushButton*>(button);
    for (auto _ : state) {
        command->click();
    }
}
BENCHMARK_CAPTURE(ClickButton, StartTenRows, "Command1")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(ClickButton, TestTenRows, "Command2")->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
