#include "form/advice.h"

#include <cmath>

#include "engine/component_test.h"
#include "form/impossible_sentence.h"

namespace trolvane {
namespace {

std::string TooLarge(ControlId box) {
    return BoxName(box) + " holds a number too large to compute with.";
}

// The numbers row k was being computed from: every box up to it was read.
struct RowInputs {
    double p;
    double n;
    double detR;
    std::vector<double> eigenvalues;
    std::optional<double> ratio;
};

RowInputs InputsOfRow(const FormState& form, int k) {
    RowInputs inputs{Number(form, form.v), Number(form, form.n), Number(form, form.det), {}, {}};
    RowTotals totals;
    for (int row = 1; row <= k; ++row) {
        inputs.eigenvalues.push_back(Number(form, form.eigenBoxes[row - 1]));
        totals.add(inputs.eigenvalues.back());
    }
    // The ratio where the row failed after it, in its significance.
    inputs.ratio = UnlessRunError(
        [&] { return ComponentTest(inputs.p, inputs.n, inputs.detR, k, totals).ratio; });
    return inputs;
}

// Of the boxes row k was computed from, the one holding the largest number.
ControlId LargestBox(const RowInputs& inputs) {
    std::pair<double, ControlId> largest{std::fabs(inputs.p), {Control::v}};
    const std::pair<double, ControlId> others[] = {{std::fabs(inputs.n), {Control::n}},
                                                   {std::fabs(inputs.detR), {Control::det}}};
    for (const auto& other : others) {
        largest = other.first > largest.first ? other : largest;
    }
    for (std::size_t i = 0; i < inputs.eigenvalues.size(); ++i) {
        const double size = std::fabs(inputs.eigenvalues[i]);
        if (size > largest.first) {
            largest = {size, {Control::eigen, static_cast<int>(i) + 1}};
        }
    }
    return largest.second;
}

Advice RowFailure(const RunError& error, const FormState& form) {
    const int k = form.step.row;
    const RowInputs inputs = InputsOfRow(form, k);
    if (const auto impossible = FindImpossibleInput(inputs.p, inputs.n, inputs.detR,
                                                    inputs.eigenvalues, inputs.ratio)) {
        const BoxToCheck check = DescribeImpossible(*impossible);
        return {check.sentence, check.box};
    }
    if (error.kind() == ErrorKind::Overflow) {
        const ControlId box = LargestBox(inputs);
        return {TooLarge(box), box};
    }
    return {"Row " + std::to_string(k) + " cannot be computed from these numbers.",
            ControlId{Control::det}};
}

}  // namespace

Advice AdviceFor(const RunError& error, const FormState& form) {
    const Step& step = form.step;
    if (error.kind() == ErrorKind::MissingElement) {
        return {"There are 10 rows: type a number of factors from 1 to 10.", ControlId{Control::f}};
    }
    switch (step.doing) {
        case Step::Doing::Reading:
            return {error.kind() == ErrorKind::TypeMismatch
                        ? BoxName(step.box) + " holds no number."
                        : TooLarge(step.box),
                    step.box};
        case Step::Doing::Normalising:
            return {TooLarge(step.box), step.box};
        case Step::Doing::Computing:
            return RowFailure(error, form);
        case Step::Doing::Nothing:
            break;
    }
    return {"Check the numbers in the boxes.", std::nullopt};
}

}  // namespace trolvane
