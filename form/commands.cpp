#include "form/commands.h"

#include "engine/chi_square.h"
#include "engine/component_test.h"
#include "engine/significance.h"

namespace trolvane {
namespace {

// The exact p-value behind a caption; a row without one has none.
void WriteExactP(Caption* caption, const ComponentResult& result, const NumberFormat& format) {
    const QString text =
        QString::fromStdString(ExactPText(result.chisq, result.df, format).value_or(""));
    caption->setToolTip(text);
    caption->setAccessibleDescription(text);
}

}  // namespace

void StartCommand(FormState& form) {
    const NumberFormat format = UserNumberFormat();
    // 1. Normalise f, then v.
    Normalise(form, form.f, format);
    Normalise(form, form.v, format);
    // 2. Warn when more factors are asked for than can be tested; never cleared.
    if (Number(form.v, format) - 1 < Number(form.f, format)) {
        form.oops->setCaption("Can only test up to #factors - 1");
    }
    // 3, 4. The column headings.
    form.flabel->setCaption("1st  " + form.f->text() + "  factors");
    form.elabel->setCaption("Eigenvalue");
    // 5. Number the rows and show their eigenvalue boxes.
    ForEachRow(Number(form.f, format), [&](int k) {
        form.fnum(k)->setCaption(QString::number(k));
        form.eigen(k)->setVisible(true);
    });
}

void TestCommand(FormState& form) {
    const NumberFormat format = UserNumberFormat();
    // 1. Normalise the inputs, in this order.
    for (QLineEdit* box : {form.n, form.v, form.det, form.f}) {
        Normalise(form, box, format);
    }
    // 2. The interpretation sentence.
    form.tlabel->setCaption(
        "Significant results indicate there is additional systematic variance -- consider an "
        "additional factor");
    const double p = Number(form.v, format);
    const double n = Number(form.n, format);
    const double detR = Number(form.det, format);
    // 3. Fresh totals for this run.
    RowTotals totals;
    // 4. Every row's eigenvalue joins the totals; testable rows get their caption.
    ForEachRow(Number(form.f, format), [&](int k) {
        totals.add(Eigenvalue(form, k, format));
        if (!IsTestable(k, p)) {
            return;
        }
        form.step = {Step::Doing::Computing, nullptr, k};
        const ComponentResult result = ComponentTest(p, n, detR, k, totals);
        Caption* caption = form.test(k);
        caption->setCaption(QString::fromStdString(Significance(result.chisq, result.df, format)));
        WriteExactP(caption, result, format);
    });
}

}  // namespace trolvane
