// Logarithm, exponential and power in long double for the browser edition.
// There long double has a 113-bit mantissa, but the C library computes these
// three only to double precision, and the exact p-value of a row with millions
// of degrees of freedom needs the extra digits: the special function scales
// their error by the degrees of freedom. These replace the library's own.
#include <cfloat>
#include <cmath>
#include <limits>

static_assert(LDBL_MANT_DIG == 113, "only for a long double with a 113-bit mantissa");

namespace {

constexpr long double kLn2 = 0.693147180559945309417232121458176568075500134360255254L;
constexpr long double kSqrtHalf = 0.707106781186547524400844362104849039284835937688474036L;
// Beyond these an exponential is no longer a finite long double, or no longer above zero.
constexpr long double kLargestExponent = 11357.0L;
constexpr long double kSmallestExponent = -11434.0L;

// The logarithm of m from the square root of 1/2 to that of 2, as 2 atanh(s) with
// s = (m - 1) / (m + 1), whose series in s squared converges fast there.
long double LogNearOne(long double m) {
    const long double s = (m - 1) / (m + 1);
    const long double s2 = s * s;
    long double power = s;
    long double sum = 0;
    for (int k = 1;; k += 2) {
        const long double next = sum + power / k;
        if (next == sum) {
            break;
        }
        sum = next;
        power *= s2;
    }
    return 2 * sum;
}

}  // namespace

extern "C" {

long double logl(long double x) {
    if (std::isnan(x) || x < 0) {
        return std::numeric_limits<long double>::quiet_NaN();
    }
    if (x == 0) {
        return -std::numeric_limits<long double>::infinity();
    }
    if (std::isinf(x)) {
        return x;
    }
    int exponent = 0;
    long double m = std::frexp(x, &exponent);
    if (m < kSqrtHalf) {
        m *= 2;
        --exponent;
    }
    return exponent * kLn2 + LogNearOne(m);
}

long double expl(long double x) {
    if (std::isnan(x)) {
        return x;
    }
    if (x > kLargestExponent) {
        return std::numeric_limits<long double>::infinity();
    }
    if (x < kSmallestExponent) {
        return 0;
    }
    // x = k ln 2 + r with |r| at most ln 2 / 2; e^r is the 256th power of the
    // Taylor series at r / 256.
    const long double k = std::nearbyint(x / kLn2);
    const long double r = (x - k * kLn2) / 256;
    long double term = 1;
    long double sum = 1;
    for (int n = 1;; ++n) {
        term *= r / n;
        const long double next = sum + term;
        if (next == sum) {
            break;
        }
        sum = next;
    }
    for (int i = 0; i < 8; ++i) {
        sum *= sum;
    }
    return std::ldexp(sum, static_cast<int>(k));
}

long double powl(long double x, long double y) {
    if (!std::isfinite(x) || !std::isfinite(y) || x == 0 || y == 0) {
        // Zeros, infinities and NaN have exact answers, which double gives.
        return std::pow(static_cast<double>(x), static_cast<double>(y));
    }
    if (x < 0) {
        if (std::trunc(y) != y) {
            return std::numeric_limits<long double>::quiet_NaN();
        }
        const bool odd = std::fmod(y, 2.0L) != 0;
        const long double magnitude = expl(y * logl(-x));
        return odd ? -magnitude : magnitude;
    }
    return expl(y * logl(x));
}

}  // extern "C"
