#include "engine/component_test.h"

#include "engine/checked.h"

namespace trolvane {

using checked::Add;
using checked::Divide;
using checked::Log;
using checked::Multiply;
using checked::Power;
using checked::Subtract;

void RowTotals::add(double eigenvalue) {
    product = Multiply(eigenvalue, product);
    sum = Add(eigenvalue, sum);
}

bool IsTestable(int k, double p) {
    return !(k > p - 1);
}

ComponentResult ComponentTest(double p, double n, double detR, int k, const RowTotals& totals) {
    const double kept = k;
    const double m = Subtract(p, kept);
    const double mean = Divide(Subtract(p, totals.sum), m);
    const double ratio = Divide(detR, Multiply(totals.product, Power(mean, m)));
    const double multiplier = Subtract(Subtract(Subtract(n, 1), Divide(Add(Multiply(2, p), 5), 6)),
                                       Divide(Multiply(kept, 2), 3));
    const double chisq = Multiply(-multiplier, Log(ratio));
    const double df = Divide(Multiply(Add(m, 2), Subtract(m, 1)), 2);
    return {ratio, chisq, df};
}

}  // namespace trolvane
