#include "form/window_logic.h"

#include <algorithm>
#include <vector>

#include "form/advice.h"
#include "form/commands.h"
#include "form/out_of_date.h"
#include "form/paste.h"

namespace trolvane {
namespace {

std::optional<FailureReport> Run(FormState& form, void (*command)(FormState&), const char* button) {
    form.step = {};
    std::optional<FailureReport> report;
    try {
        command(form);
    } catch (const RunError& error) {
        const Advice advice = AdviceFor(error, form);
        report = FailureReport{
            "Run-time error '" + std::to_string(error.number()) + "':\n\n" + error.what(),
            advice.sentence + " Then press " + button + " again."};
        if (advice.box) {
            form.focus = FocusRequest{*advice.box};
        }
    }
    MarkRowsOutOfDate(form);
    return report;
}

// The next box after this one in the keyboard's order that is shown.
std::optional<ControlId> NextBox(const FormState& form, ControlId box) {
    const std::vector<int> order = ReadingOrder();
    auto at = std::find(order.begin(), order.end(), IndexOf(box));
    for (++at; at != order.end(); ++at) {
        const ControlId candidate = kControls[*at].id;
        if (const TextBox* shown = form.box(candidate); shown != nullptr && shown->visible) {
            return candidate;
        }
    }
    return std::nullopt;
}

}  // namespace

void LoadForm(FormState& form) {
    for (int i = 1; i <= kRows; ++i) {
        form.eigen(i).visible = false;
    }
}

std::optional<FailureReport> PressStart(FormState& form) {
    std::optional<FailureReport> report = Run(form, StartCommand, "Start");
    if (!report) {
        const auto shown = std::find_if(form.eigenBoxes.begin(), form.eigenBoxes.end(),
                                        [](const TextBox& box) { return box.visible; });
        if (shown != form.eigenBoxes.end()) {
            form.focus = FocusRequest{{Control::eigen, int(shown - form.eigenBoxes.begin()) + 1}};
        }
    }
    return report;
}

std::optional<FailureReport> PressTest(FormState& form) {
    return Run(form, TestCommand, "Test");
}

void EditBox(FormState& form, ControlId box, std::string text) {
    TextBox& edited = *form.box(box);
    if (edited.text == text) {
        return;
    }
    edited.text = std::move(text);
    if (HoldsSeveralFields(edited.text)) {
        if (box.control == Control::eigen) {
            SpreadPastedColumn(form, box.row);
        } else {
            KeepFirstPastedNumber(form, box);
        }
    }
    MarkRowsOutOfDate(form);
}

std::optional<FailureReport> PressReturn(FormState& form, ControlId box) {
    if (box.control == Control::f) {
        return PressStart(form);
    }
    if (box.control == Control::eigen) {
        return PressTest(form);
    }
    if (const std::optional<ControlId> next = NextBox(form, box)) {
        form.focus = FocusRequest{*next};
    }
    return std::nullopt;
}

}  // namespace trolvane
