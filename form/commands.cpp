#include "form/commands.h"

#include "engine/chi_square.h"
#include "engine/component_test.h"
#include "engine/significance.h"
#include "form/impossible_sentence.h"
#include "form/out_of_date.h"

namespace trolvane {
namespace {

// The eigenvalue of row k, read strictly.
double Eigenvalue(FormState& form, int k) {
    const TextBox& box = form.eigen(k);
    form.step = {Step::Doing::Reading, {Control::eigen, k}, k};
    return Number(form, box);
}

}  // namespace

void StartCommand(FormState& form) {
    // 1. Normalise f, then v.
    Normalise(form, {Control::f});
    Normalise(form, {Control::v});
    // 2. Warn when more factors are asked for than can be tested; the warning
    // stays, marked out of date when a later Start finds it no longer holds.
    const bool tooManyFactors = Number(form, form.v) - 1 < Number(form, form.f);
    if (tooManyFactors) {
        form.oops.caption = "Can only test up to #factors - 1";
    }
    MarkWarningOutOfDate(form, !tooManyFactors);
    // 3, 4. The column headings.
    form.flabel.caption = "1st  " + form.f.text + "  factors";
    form.elabel.caption = "Eigenvalue";
    // 5. Number the rows and show their eigenvalue boxes.
    ForEachRow(Number(form, form.f), [&](int k) {
        form.fnum(k).caption = std::to_string(k);
        form.eigen(k).visible = true;
    });
}

void TestCommand(FormState& form) {
    // A row this run does not write is out of date from now on.
    ++form.testRuns;
    // 1. Normalise the inputs, in this order.
    for (const Control box : {Control::n, Control::v, Control::det, Control::f}) {
        Normalise(form, {box});
    }
    // 2. The interpretation sentence.
    form.tlabel.caption =
        "Significant results indicate there is additional systematic variance -- consider an "
        "additional factor";
    const double p = Number(form, form.v);
    const double n = Number(form, form.n);
    const double detR = Number(form, form.det);
    // 3. Fresh totals for this run.
    RowTotals totals;
    std::vector<double> eigenvalues;
    // 4. Every row's eigenvalue joins the totals; testable rows get their caption.
    ForEachRow(Number(form, form.f), [&](int k) {
        eigenvalues.push_back(Eigenvalue(form, k));
        totals.add(eigenvalues.back());
        if (!IsTestable(k, p)) {
            return;
        }
        form.step = {Step::Doing::Computing, {Control::eigen, k}, k};
        const ComponentResult result = ComponentTest(p, n, detR, k, totals);
        Label& row = form.test(k);
        row.caption = Significance(result.chisq, result.df, form.format);
        row.exactP = ExactPText(result.chisq, result.df, form.format).value_or("");
        const auto impossible = FindImpossibleInput(p, n, detR, eigenvalues, result.ratio);
        row.impossible = impossible ? DescribeImpossible(*impossible).sentence : "";
        form.sources[k - 1] = RowSource{form.testRuns, p, n, detR, eigenvalues};
    });
}

}  // namespace trolvane
