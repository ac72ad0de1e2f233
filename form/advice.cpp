#include "form/advice.h"

#include <array>
#include <optional>

namespace trolvane {
namespace {

// What to check when row %1 cannot be computed; each names the determinant
// first.
struct RowAdvice {
    ErrorKind kind;
    const char* sentence;
};

constexpr std::array<RowAdvice, 3> kRowAdvice{{
    {ErrorKind::InvalidArgument,
     "Row %1 cannot be computed: check that the determinant is above 0, that the eigenvalues up "
     "to row %1 add up to less than the number of variables, and that the sample size is larger "
     "than the number of variables."},
    {ErrorKind::DivisionByZero,
     "Row %1 cannot be computed: check the determinant, that no eigenvalue up to row %1 is 0, and "
     "that the eigenvalues up to row %1 add up to less than the number of variables."},
    {ErrorKind::Overflow,
     "Row %1 cannot be computed: check the determinant, the eigenvalues up to row %1 and the "
     "sample size, one of which is too large to compute with."},
}};

std::optional<Advice> RowFailure(ErrorKind kind, const FormState& form) {
    for (const RowAdvice& advice : kRowAdvice) {
        if (advice.kind == kind) {
            return Advice{QString(advice.sentence).arg(form.step.row), form.det};
        }
    }
    return std::nullopt;
}

// The input boxes as a sentence names them.
QString BoxName(const QLineEdit* box, const FormState& form) {
    return box == form.f ? QString("The number of factors") : box->accessibleName();
}

QString TooLarge(const QString& name) {
    return name + " holds a number too large to compute with.";
}

}  // namespace

Advice AdviceFor(const RunError& error, const FormState& form) {
    const Step& step = form.step;
    if (error.kind() == ErrorKind::MissingElement) {
        return {"There are 10 rows: type a number of factors from 1 to 10.", form.f};
    }
    if (step.doing == Step::Doing::Reading) {
        const QString eigenvalue = QString("Eigenvalue %1").arg(step.row);
        return {error.kind() == ErrorKind::TypeMismatch ? eigenvalue + " holds no number."
                                                        : TooLarge(eigenvalue),
                step.box};
    }
    if (step.doing == Step::Doing::Normalising) {
        return {TooLarge(BoxName(step.box, form)), step.box};
    }
    if (step.doing == Step::Doing::Computing) {
        if (std::optional<Advice> advice = RowFailure(error.kind(), form)) {
            return *advice;
        }
    }
    return {"Check the numbers in the boxes.", nullptr};
}

}  // namespace trolvane
