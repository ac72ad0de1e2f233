#include "form/out_of_date.h"

namespace trolvane {
namespace {

// A number as the next Test will read it; none where it will not be read.
std::optional<double> InputReading(const FormState& form, const TextBox& box) {
    return UnlessRunError(
        [&] { return StrictNumber(Normalised(box.text, form.format), form.format); });
}

// The first box among those row k was computed from whose number has changed.
std::optional<ControlId> ChangedBox(const FormState& form, const RowSource& source) {
    const std::pair<ControlId, double> inputs[] = {
        {{Control::v}, source.p}, {{Control::n}, source.n}, {{Control::det}, source.detR}};
    for (const auto& [box, number] : inputs) {
        if (InputReading(form, *form.box(box)) != number) {
            return box;
        }
    }
    for (std::size_t i = 0; i < source.eigenvalues.size(); ++i) {
        const TextBox& box = form.eigenBoxes[i];
        if (UnlessRunError([&] { return Number(form, box); }) != source.eigenvalues[i]) {
            return ControlId{Control::eigen, static_cast<int>(i) + 1};
        }
    }
    return std::nullopt;
}

std::string OutOfDateReason(const FormState& form, const std::optional<RowSource>& source) {
    if (!source || source->run != form.testRuns) {
        return "Out of date: the last Test did not write this row.";
    }
    if (const std::optional<ControlId> changed = ChangedBox(form, *source)) {
        return "Out of date: " + BoxName(*changed) + " has changed since this row was computed.";
    }
    return "";
}

}  // namespace

void MarkRowsOutOfDate(FormState& form) {
    for (int k = 1; k <= kRows; ++k) {
        Label& row = form.test(k);
        row.outOfDate = row.caption.empty() ? "" : OutOfDateReason(form, form.sources[k - 1]);
    }
}

void MarkWarningOutOfDate(FormState& form, bool noLongerHolds) {
    form.oops.outOfDate = noLongerHolds && !form.oops.caption.empty()
                              ? "Out of date: the last Start found that every factor can be tested."
                              : "";
}

}  // namespace trolvane
