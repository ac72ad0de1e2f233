// Bartlett's chi-square test for "the next PC": after k components are kept, are
// the remaining p - k eigenvalues of R equal?
#pragma once

namespace trolvane {

// The running product and sum of the eigenvalues read so far in one Test run.
struct RowTotals {
    double product = 1;
    double sum = 0;
    void add(double eigenvalue);
};

struct ComponentResult {
    double ratio;
    double chisq;
    double df;
};

// Whether row k gets a statistic at all: only while k <= p - 1.
bool IsTestable(int k, double p);

// The statistic for row k from p variables, sample size n, the determinant of R
// and the totals of eigenvalues 1 to k. Raises RunError at the failing step.
ComponentResult ComponentTest(double p, double n, double detR, int k, const RowTotals& totals);

}  // namespace trolvane
