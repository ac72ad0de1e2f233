#include "form/data_dialog.h"

#include <algorithm>
#include <cerrno>
#include <fstream>
#include <new>
#include <system_error>

#include "data_reading/text_table.h"
#include "engine/joined.h"
#include "form/out_of_date.h"

namespace trolvane {
namespace {

// Runs a step of reading or summarising; where it fails, the summary says why.
template <typename Step>
void Attempt(DataDialog& dialog, Step step) {
    try {
        step();
    } catch (const DataRefusal& refusal) {
        dialog.summary = refusal.what();
    } catch (const RunError& error) {
        // A number no summary can show; the dialog says so rather than fail.
        dialog.summary = std::string("The data cannot be summarised: ") + error.what() + ".";
    } catch (const std::bad_alloc&) {
        dialog.summary = "The data are too large for this computer's memory.";
    }
}

// Summarises the variables read with the correlations chosen.
void SummariseChosen(DataDialog& dialog, const NumberFormat& format) {
    dialog.reading.reset();
    Attempt(dialog, [&] {
        const bool polychoric =
            dialog.offersCorrelations() && dialog.correlations == CorrelationKind::Polychoric;
        DataSummary reading = Summarise(
            polychoric ? WithPolychoricCorrelations(*dialog.variables) : *dialog.variables, format);
        dialog.summary = Joined(SummaryLines(reading, format), "\n");
        dialog.reading = std::move(reading);
    });
}

// Reads the dialog's text into its variables and their summary.
void Read(DataDialog& dialog, const NumberFormat& format) {
    dialog.reading.reset();
    dialog.variables.reset();
    Attempt(dialog, [&] { dialog.variables = ReadVariables(dialog.text, format); });
    if (dialog.variables) {
        SummariseChosen(dialog, format);
    }
}

// The first lines of a long text, which the dialog shows without editing.
std::string FirstLines(std::string_view text, int count) {
    std::size_t end = 0;
    for (int line = 0; line < count && end != std::string_view::npos; ++line) {
        end = text.find('\n', end == 0 ? 0 : end + 1);
    }
    return std::string(text.substr(0, end));
}

// The text as the dialog shows it: UTF-8 whatever the bytes were, none for
// bytes that are no text.
std::string ShownText(std::string_view bytes) {
    try {
        const DecodedText text(bytes);
        return std::string(text.view());
    } catch (const DataRefusal&) {
        return "";
    }
}

void TypeBox(FormState& form, TextBox& box, double value) {
    box.text = NumberText(value, form.format);
}

}  // namespace

DataDialog OpenDataDialog(std::string text, const NumberFormat& userFormat,
                          CorrelationKind correlations) {
    DataDialog dialog;
    dialog.correlations = correlations;
    dialog.text = std::move(text);
    if (dialog.text.size() <= kLongestEditableText) {
        dialog.shownText = ShownText(dialog.text);
    } else {
        dialog.editable = false;
        dialog.shownText = ShownText(FirstLines(dialog.text, kShownLinesOfLongText));
    }
    Read(dialog, userFormat);
    return dialog;
}

DataDialog OpenDataFile(const std::filesystem::path& path, const NumberFormat& userFormat,
                        CorrelationKind correlations) {
    DataDialog dialog;
    dialog.correlations = correlations;
    errno = 0;
    std::ifstream file(path, std::ios::binary);
    if (file) {
        // A folder opens as a file does where the system allows it, and
        // fails on its first byte.
        file.peek();
        file.clear();
    }
    // A file that did not open without saying why is taken as not found.
    const int readError = file ? errno : (errno != 0 ? errno : ENOENT);
    const std::streamoff size = readError == 0 && file.seekg(0, std::ios::end)
                                    ? static_cast<std::streamoff>(file.tellg())
                                    : -1;
    if (size >= 0) {
        dialog.summary = RefusalForFileSize(static_cast<std::uintmax_t>(size));
        if (!dialog.summary.empty()) {
            dialog.editable = false;
            return dialog;
        }
    }
    std::string bytes(static_cast<std::size_t>(std::max<std::streamoff>(size, 0)), '\0');
    if (size < 0 || !file.seekg(0) ||
        !file.read(bytes.data(), static_cast<std::streamsize>(bytes.size()))) {
        const std::u8string name = path.filename().u8string();
        dialog.summary =
            "Trolvane could not read " + std::string(name.begin(), name.end()) +
            (readError != 0 ? ": " + std::generic_category().message(readError) + "." : ".");
        return dialog;
    }
    return OpenDataDialog(std::move(bytes), userFormat, correlations);
}

std::string TextCaption(const DataDialog& dialog) {
    if (dialog.editable) {
        return "The data, to edit or paste over:";
    }
    return "The data's first " + std::to_string(kShownLinesOfLongText) +
           " lines (the whole text is read; it is too long to edit here):";
}

void EditDataText(DataDialog& dialog, std::string text, const NumberFormat& userFormat) {
    if (!dialog.editable) {
        return;
    }
    dialog.text = std::move(text);
    dialog.shownText = dialog.text;
    Read(dialog, userFormat);
}

void ChooseCorrelations(DataDialog& dialog, CorrelationKind correlations,
                        const NumberFormat& userFormat) {
    dialog.correlations = correlations;
    if (dialog.offersCorrelations()) {
        SummariseChosen(dialog, userFormat);
    }
}

std::optional<FailureReport> UseData(FormState& form, const DataSummary& reading) {
    const Variables& variables = reading.variables;
    const int p = variables.count;
    const int factors = std::min(p - 1, kRows);
    TypeBox(form, form.v, p);
    TypeBox(form, form.det, reading.determinant);
    const bool givesSampleSize = variables.cases > 0;
    if (givesSampleSize) {
        TypeBox(form, form.n, static_cast<double>(variables.cases));
    }
    TypeBox(form, form.f, factors);
    if (std::optional<FailureReport> report = PressStart(form)) {
        return report;
    }
    DataOrigin origin{form.v.text, form.det.text,       std::nullopt,          {},
                      reading.kmo, reading.eigenvalues, variables.correlations};
    if (givesSampleSize) {
        origin.n = form.n.text;
    }
    if (variables.polychoric) {
        origin.categories = variables.categories;
    }
    for (int k = 1; k <= factors; ++k) {
        TypeBox(form, form.eigen(k), reading.eigenvalues[static_cast<std::size_t>(k - 1)]);
        origin.eigenvalues.push_back(form.eigen(k).text);
    }
    form.fromData = std::move(origin);
    const std::optional<double> n = UnlessRunError([&] { return Number(form, form.n); });
    if (n && *n > p) {
        return PressTest(form);
    }
    MarkRowsOutOfDate(form);
    form.focus = FocusRequest{{Control::n}};
    return std::nullopt;
}

const DataOrigin* UnchangedDataOrigin(const FormState& form) {
    if (!form.fromData) {
        return nullptr;
    }
    const DataOrigin& origin = *form.fromData;
    bool unchanged = form.v.text == origin.v && form.det.text == origin.det &&
                     (!origin.n || form.n.text == *origin.n);
    for (std::size_t k = 0; k < origin.eigenvalues.size(); ++k) {
        unchanged = unchanged && form.eigenBoxes[k].text == origin.eigenvalues[k];
    }
    return unchanged ? &origin : nullptr;
}

bool PasteOpensDataDialog(std::string_view pasted, const NumberFormat& userFormat) {
    return IsPastedMatrix(pasted, userFormat);
}

}  // namespace trolvane
