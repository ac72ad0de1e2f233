#include "form/form_state.h"

#include <utility>

namespace trolvane {

std::string Label::Note() const {
    std::string note;
    for (const std::string* part : {&outOfDate, &impossible, &exactP}) {
        if (!part->empty()) {
            note += (note.empty() ? "" : "\n") + *part;
        }
    }
    return note;
}

FormState::FormState(NumberFormat userFormat) : format(std::move(userFormat)) {
    for (const ControlEntry& entry : kControls) {
        if (TextBox* initial = box(entry.id)) {
            initial->text = entry.text;
        }
    }
}

const TextBox* FormState::box(ControlId id) const {
    switch (id.control) {
        case Control::v:
            return &v;
        case Control::n:
            return &n;
        case Control::det:
            return &det;
        case Control::f:
            return &f;
        case Control::eigen:
            return &eigenBoxes.at(id.row - 1);
        default:
            return nullptr;
    }
}

TextBox* FormState::box(ControlId id) {
    return const_cast<TextBox*>(std::as_const(*this).box(id));
}

const Label* FormState::label(ControlId id) const {
    switch (id.control) {
        case Control::oops:
            return &oops;
        case Control::tlabel:
            return &tlabel;
        case Control::flabel:
            return &flabel;
        case Control::elabel:
            return &elabel;
        case Control::fnum:
            return &fnumLabels.at(id.row - 1);
        case Control::test:
            return &testLabels.at(id.row - 1);
        default:
            return nullptr;
    }
}

void Normalise(FormState& form, ControlId box) {
    form.step = {Step::Doing::Normalising, box, 0};
    TextBox& normalised = *form.box(box);
    normalised.text = Normalised(normalised.text, form.format);
}

double Number(const FormState& form, const TextBox& box) {
    return StrictNumber(box.text, form.format);
}

}  // namespace trolvane
