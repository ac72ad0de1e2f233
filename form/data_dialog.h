// The data dialog, "Trolvane: Data", whatever toolkit draws it: the text it
// shows for editing, the summary of what that text holds or why it cannot be
// used, and what Use These Numbers writes into the window.
#pragma once

#include <algorithm>
#include <array>
#include <filesystem>
#include <optional>
#include <string>

#include "data_reading/summary.h"
#include "form/form_state.h"
#include "form/window_logic.h"

namespace trolvane {

constexpr char kDataDialogTitle[] = "Trolvane: Data";
constexpr char kUseButton[] = "Use These Numbers";
constexpr char kCancelButton[] = "Cancel";
// The caption above the summary.
constexpr char kSummaryCaption[] = "What the data holds:";

// The drop-down that chooses the correlations of raw data, and its entries in
// their order; Pearson's are the first choice.
constexpr char kCorrelationsName[] = "Correlations";
enum class CorrelationKind { Pearson, Polychoric };
struct CorrelationEntry {
    CorrelationKind kind;
    const char* name;
};
inline constexpr std::array<CorrelationEntry, 2> kCorrelationKinds{{
    {CorrelationKind::Pearson, "Pearson"},
    {CorrelationKind::Polychoric, "Polychoric"},
}};

// The place of the kind among the drop-down's entries.
constexpr int CorrelationIndex(CorrelationKind kind) {
    const auto entry =
        std::find_if(kCorrelationKinds.begin(), kCorrelationKinds.end(),
                     [kind](const CorrelationEntry& each) { return each.kind == kind; });
    return static_cast<int>(entry - kCorrelationKinds.begin());
}
// The kind at that place.
constexpr CorrelationKind CorrelationKindAt(int index) {
    return kCorrelationKinds.at(static_cast<std::size_t>(index)).kind;
}

// Texts longer than this are shown by their first lines only, and cannot be
// edited in the dialog; they are still read whole.
constexpr std::size_t kLongestEditableText = 1 << 20;
constexpr int kShownLinesOfLongText = 200;

struct DataDialog {
    // The whole text as read, and what the dialog's text area shows of it.
    std::string text;
    std::string shownText;
    bool editable = true;
    // The summary lines joined by line feeds, or the sentence saying why the
    // text cannot be used.
    std::string summary;
    // What Use writes; none when the text is refused, and Use is disabled.
    std::optional<DataSummary> reading;
    // The variables as read, with Pearson's correlations; none where the text
    // is refused.
    std::optional<Variables> variables;
    // The correlations chosen, which raw data are summarised by.
    CorrelationKind correlations = CorrelationKind::Pearson;

    bool usable() const { return reading.has_value(); }
    // Raw data offer the choice of correlations; matrices are correlations already.
    bool offersCorrelations() const { return variables && variables->kind == DataKind::RawData; }
};

// The caption above the dialog's text, which says where only its first lines
// are shown.
std::string TextCaption(const DataDialog& dialog);

// The dialog for a pasted or dropped text, or a file's bytes, with the
// correlations chosen last.
DataDialog OpenDataDialog(std::string text, const NumberFormat& userFormat,
                          CorrelationKind correlations = CorrelationKind::Pearson);

// The dialog for a file: one too large to be data is refused unread.
DataDialog OpenDataFile(const std::filesystem::path& path, const NumberFormat& userFormat,
                        CorrelationKind correlations = CorrelationKind::Pearson);

// The user chose the correlations: the summary is computed again from what
// was read.
void ChooseCorrelations(DataDialog& dialog, CorrelationKind correlations,
                        const NumberFormat& userFormat);

// The user edited the dialog's text: it is read again.
void EditDataText(DataDialog& dialog, std::string text, const NumberFormat& userFormat);

// Use These Numbers: writes v, det, n (where the data give it) and f, runs Start,
// writes the leading eigenvalues, and runs Test where n holds a number larger
// than p; otherwise the keyboard goes to the sample size. A Test that fails is
// reported as the Test button's would be.
std::optional<FailureReport> UseData(FormState& form, const DataSummary& reading);

// Where the window's numbers came from, while every box the data dialog wrote
// still holds what it wrote; none once the user has changed one.
const DataOrigin* UnchangedDataOrigin(const FormState& form);

// A paste into a box of a matrix of three or more variables opens the dialog
// with it instead; true where it does.
bool PasteOpensDataDialog(std::string_view pasted, const NumberFormat& userFormat);

}  // namespace trolvane
