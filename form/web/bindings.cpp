// The window's logic as the browser page sees it: the control table and the
// command table to build the page from, the caption and box fit rules, one
// window's state with the user's actions, each of which the page follows by
// showing the state again, the data dialog over it, and the How Many
// Components window with its scree plot.
#include <emscripten/bind.h>
#include <emscripten/val.h>

#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <exception>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "data_reading/variables.h"
#include "form/about.h"
#include "form/caption_fit.h"
#include "form/controls.h"
#include "form/data_dialog.h"
#include "form/how_many.h"
#include "form/menus.h"
#include "form/results.h"
#include "form/rules_computation.h"
#include "form/window_logic.h"
#include "retention/scree_plot_svg.h"

namespace trolvane {
namespace {

using emscripten::val;

const char* KindName(Kind kind) {
    switch (kind) {
        case Kind::Label:
            return "label";
        case Kind::CentredLabel:
            return "centredLabel";
        case Kind::ResultLabel:
            return "resultLabel";
        case Kind::Box:
            return "box";
        case Kind::Button:
            return "button";
    }
    return "";
}

// A whole number as text; written without printf, which the page would
// otherwise wait for WebAssembly to compile at start-up.
std::string Whole(long value) {
    std::array<char, 24> digits{};
    const auto written = std::to_chars(digits.begin(), digits.end(), value);
    return std::string(digits.begin(), written.ptr);
}

// A number of points, to the hundredth.
std::string Points(double points) {
    const long hundredths = std::lround(points * 100);
    const std::string fraction = Whole(100 + hundredths % 100);
    return Whole(hundredths / 100) + "." + fraction.substr(1);
}

std::string Css(Rgb colour) {
    return "rgb(" + Whole(colour.red) + "," + Whole(colour.green) + "," + Whole(colour.blue) + ")";
}

// A text as a JSON string.
std::string Json(std::string_view text) {
    std::string json = "\"";
    for (const char c : text) {
        if (c == '"' || c == '\\') {
            json += '\\';
        }
        if (static_cast<unsigned char>(c) < 0x20) {
            constexpr char kHex[] = "0123456789abcdef";
            json.append("\\u00").append(1, kHex[c >> 4]).append(1, kHex[c & 15]);
        } else {
            json += c;
        }
    }
    return json + '"';
}

// Every control in the order the window creates them, places in twips, as
// JSON: the page reads it in one piece.
std::string ControlTable() {
    std::string table = "[";
    for (const ControlEntry& entry : kControls) {
        if (table.size() > 1) {
            table += ",";
        }
        table += "{\"name\":" + Json(ControlName(entry)) +
                 ",\"kind\":" + Json(KindName(entry.kind)) + ",\"text\":" + Json(entry.text) +
                 ",\"left\":" + Whole(entry.place.left) + ",\"top\":" + Whole(entry.place.top) +
                 ",\"width\":" + Whole(entry.place.width) +
                 ",\"height\":" + Whole(entry.place.height) +
                 ",\"points\":" + Points(entry.look.points) +
                 ",\"bold\":" + (entry.look.bold ? "true" : "false") +
                 ",\"tab\":" + Whole(entry.tab) + ",\"spokenName\":" + Json(entry.spokenName) +
                 ",\"colour\":" + Json(Css(entry.textColour)) + "}";
    }
    return table + "]";
}

// The name the page knows a command by.
const char* CommandName(MenuCommand command) {
    switch (command) {
        case MenuCommand::OpenData:
            return "openData";
        case MenuCommand::SaveResults:
            return "saveResults";
        case MenuCommand::Quit:
            return "quit";
        case MenuCommand::PasteData:
            return "pasteData";
        case MenuCommand::CopyResults:
            return "copyResults";
        case MenuCommand::HowManyComponents:
            return "howManyComponents";
        case MenuCommand::About:
            return "about";
    }
    return "";
}

// The commands a page has, menu after menu, as JSON; a command without keys
// has an empty letter.
std::string CommandTable() {
    std::string table = "[";
    for (const MenuEntry& entry : kMenuCommands) {
        if (entry.desktopOnly) {
            continue;
        }
        table += (table.size() > 1 ? "," : "");
        table += "{\"command\":" + Json(CommandName(entry.command)) +
                 ",\"menu\":" + Json(entry.menu) + ",\"text\":" + Json(entry.text) +
                 ",\"letter\":" + Json(entry.hasKey ? std::string(1, entry.key.letter) : "") +
                 ",\"shift\":" + (entry.key.shift ? "true" : "false") + "}";
    }
    return table + "]";
}

// The texts of the data dialog and of the messages the commands give.
val DialogTexts() {
    val texts = val::object();
    texts.set("dataTitle", std::string(kDataDialogTitle));
    texts.set("useButton", std::string(kUseButton));
    texts.set("cancelButton", std::string(kCancelButton));
    texts.set("correlations", std::string(kCorrelationsName));
    val kinds = val::array();
    for (const CorrelationEntry& entry : kCorrelationKinds) {
        kinds.call<void>("push", std::string(entry.name));
    }
    texts.set("correlationKinds", kinds);
    texts.set("noResults", std::string(kNoResults));
    return texts;
}

// The How Many Components window's title, buttons, the name Save Plot
// proposes, and its boxes in their order, each with its name and first text.
val HowManyTexts() {
    val texts = val::object();
    texts.set("title", std::string(kHowManyTitle));
    texts.set("copyPlot", std::string(kCopyPlotButton));
    texts.set("savePlot", std::string(kSavePlotButton));
    texts.set("plotFile", std::string(kPlotFile));
    texts.set("copyTable", std::string(kCopyTableButton));
    texts.set("close", std::string(kCloseButton));
    val settings = val::array();
    for (const SettingEntry& entry : kSettings) {
        val setting = val::object();
        setting.set("name", std::string(entry.name));
        setting.set("initial", std::string(entry.initial));
        settings.call<void>("push", setting);
    }
    texts.set("settings", settings);
    return texts;
}

// Why a file of this many bytes is refused unread; empty where it may be read.
std::string FileSizeRefusal(double bytes) {
    return RefusalForFileSize(static_cast<std::uintmax_t>(bytes));
}

// The controls' indices in the order a reader meets them, as JSON.
std::string ReadingOrderJson() {
    std::string order = "[";
    for (const int i : ReadingOrder()) {
        order += (order.size() > 1 ? "," : "") + Whole(i);
    }
    return order + "]";
}

// The window's size and colours.
val WindowLook() {
    val look = val::object();
    look.set("width", kClientArea.width);
    look.set("height", kClientArea.height);
    look.set("twipsPerPixel", kTwipsPerPixelAt96Dpi);
    look.set("background", Css(kOrange));
    look.set("outOfDateText", Css(kOutOfDateText));
    look.set("warningText", Css(kWarningText));
    look.set("warningBackground", Css(kWarningBackground));
    return look;
}

// The size a caption is drawn at; fits(points) says whether it fits its label.
double CaptionPoints(double designed, val fits) {
    return FittingPoints(designed, [&](double points) { return fits(points).as<bool>(); });
}

// The size a box draws its text at; width(points) is the text's width drawn at
// that size, against the room the box's frame leaves.
double BoxTextPoints(double designed, double room, val width) {
    return BoxPoints(designed, room, [&](double points) { return width(points).as<double>(); });
}

// What a box shows of its number while the keyboard is elsewhere; fits(text)
// says whether a text fits the box.
std::string ShownBoxNumber(std::string number, val fits) {
    return ShownNumber(number,
                       [&](std::string_view shown) { return fits(std::string(shown)).as<bool>(); });
}

// A copy's plain text and HTML, or null where there is nothing to copy.
val Copied(const std::optional<CopiedResults>& copied) {
    if (!copied) {
        return val::null();
    }
    val both = val::object();
    both.set("plainText", copied->plainText);
    both.set("html", copied->html);
    return both;
}

val Report(const std::optional<FailureReport>& report) {
    if (!report) {
        return val::null();
    }
    val shown = val::object();
    shown.set("message", report->message);
    shown.set("advice", report->advice);
    return shown;
}

// One window: controls are named by their index in the control table.
class Window {
  public:
    Window() : state_(NumberFormat{}) { LoadForm(state_); }

    // The user's separators, as their language writes numbers.
    void setSeparators(std::string decimal, std::string group) {
        state_.format = NumberFormat{std::move(decimal), std::move(group)};
    }

    val start() { return Report(PressStart(state_)); }
    val test() { return Report(PressTest(state_)); }

    void edit(int control, std::string text) {
        if (IsBox(control)) {
            EditBox(state_, kControls[control].id, std::move(text));
        }
    }

    val pressReturn(int control) {
        if (!IsBox(control)) {
            return val::null();
        }
        return Report(PressReturn(state_, kControls[control].id));
    }

    // Each control's state, as JSON: a box's text and visibility, a label's
    // caption, marks and note, and null for the fixed labels and the buttons.
    std::string shown() const {
        std::string controls = "[";
        for (const ControlEntry& entry : kControls) {
            if (controls.size() > 1) {
                controls += ",";
            }
            if (const TextBox* box = state_.box(entry.id)) {
                controls += "{\"text\":" + Json(box->text) +
                            ",\"visible\":" + (box->visible ? "true" : "false") + "}";
            } else if (const Label* label = state_.label(entry.id)) {
                controls += "{\"caption\":" + Json(label->caption) +
                            ",\"outOfDate\":" + (label->outOfDate.empty() ? "false" : "true") +
                            ",\"impossible\":" + (label->impossible.empty() ? "false" : "true") +
                            ",\"note\":" + Json(label->Note()) + "}";
            } else {
                controls += "null";
            }
        }
        return controls + "]";
    }

    // Copy Results: the table and the sentence as plain text and HTML, or
    // null when no row has a result.
    val copyResults() const { return Copied(CopyResults(state_)); }

    // Save Results: the CSV file's bytes, or null when no row has a result.
    // Bytes, not a string: a string would lose the byte order mark that tells
    // spreadsheets the file is UTF-8.
    val resultsCsv() const {
        const std::optional<std::string> csv = ResultsCsv(state_);
        if (!csv) {
            return val::null();
        }
        const auto* bytes = reinterpret_cast<const unsigned char*>(csv->data());
        return val::global("Uint8Array").new_(emscripten::typed_memory_view(csv->size(), bytes));
    }

    // Whether a paste into a box goes to the data dialog instead.
    bool pasteOpensData(std::string pasted) const {
        return PasteOpensDataDialog(pasted, state_.format);
    }

    // Use These Numbers, with what the data dialog read.
    val useData(const DataSummary& reading) { return FollowedByRules(UseData(state_, reading)); }

    const NumberFormat& format() const { return state_.format; }

    // The box the keyboard goes to next, once; -1 for none.
    int takeFocus() {
        if (!state_.focus) {
            return -1;
        }
        const ControlId box = state_.focus->box;
        state_.focus.reset();
        return IndexOf(box);
    }

    // The computation of the rules due now, after each Test and each Use, or
    // for settings just read: its identity, and 0 for none, where the last
    // rules stay. Its random data are drawn by drawRules.
    int startRules() {
        const auto now = RulesComputation::Clock::now();
        std::optional<RulesComputation::Request> request;
        if (std::exchange(rulesDue_, false)) {
            request = rules_.Start(state_, now);
        } else {
            request = rules_.AfterCommand(state_, now);
        }
        return Pending(std::move(request));
    }

    // The window has opened: what closing it stopped runs again, as startRules.
    int reopenRules() { return Pending(rules_.Open(RulesComputation::Clock::now())); }

    // Draws up to `sets` more random data sets of computation `id`, then fits
    // one factor model a call, and once every one is fitted, keeps the rules
    // for the window and the report; true once it has ended, or is no longer
    // wanted.
    bool drawRules(int id, int sets) {
        if (!pending_ || pending_->id != id || rules_.waitingFor() != id) {
            return true;
        }
        if (pending_->random && !pending_->random->Draw(sets)) {
            return false;
        }
        if (!FitNextFactorModel(pending_->numbers, pending_->fits)) {
            return false;
        }
        std::optional<RandomEigenvalues> random;
        if (pending_->random) {
            random = pending_->random->Summary();
        }
        RuleResults rules = RulesFrom(pending_->numbers, pending_->settings, std::move(random),
                                      std::move(pending_->fits));
        rules.randomFailed = pending_->randomFailed;
        rules_.Finish(id, std::move(rules), state_);
        pending_.reset();
        return true;
    }

    // Closing the window stops the rules still being drawn.
    void cancelRules() {
        if (rules_.Close()) {
            pending_.reset();
        }
    }

    // Whether a computation is running, and how far it is once it has taken
    // longer than half a second: null before.
    bool rulesRunning() const { return rules_.waitingFor().has_value(); }
    val rulesProgress() const {
        const std::optional<RulesComputation::Shown> progress =
            rules_.Progress(RulesComputation::Clock::now(),
                            pending_ && pending_->random ? pending_->random->setsDone() : 0,
                            pending_ ? static_cast<int>(pending_->fits.size()) : 0);
        return progress ? val(progress->text) : val::null();
    }

    // The How Many Components window's boxes, their texts in order, read as
    // the settings of the next rules: null when they are set, else the index
    // of the box that holds no value in its range and the sentence saying so.
    val setRuleSettings(val texts) {
        std::array<std::string, kSettings.size()> boxes;
        for (std::size_t i = 0; i < boxes.size(); ++i) {
            boxes[i] = texts[i].as<std::string>();
        }
        const ReadSettingsResult read =
            ReadSettings(boxes, state_.format, MostRandomDataSets(state_));
        if (read.settings) {
            state_.ruleSettings = *read.settings;
            rulesDue_ = true;
            return val::null();
        }
        val refusal = val::object();
        for (std::size_t i = 0; i < kSettings.size(); ++i) {
            if (kSettings[i].setting == read.refusal->box) {
                refusal.set("box", static_cast<int>(i));
            }
        }
        refusal.set("sentence", read.refusal->sentence);
        return refusal;
    }

    // The last rules as the window shows them: the six lines, the table's
    // header and rows; null before any were computed.
    val rulesShown() const {
        if (!state_.rules) {
            return val::null();
        }
        const RuleResults& rules = *state_.rules;
        val rows = val::array();
        for (const std::vector<std::string>& row : TableRows(rules, state_.format)) {
            rows.call<void>("push", val::array(row));
        }
        val shown = val::object();
        shown.set("lines", val::array(RuleLines(rules, state_.format)));
        shown.set("header", val::array(TableHeader(rules)));
        shown.set("rows", rows);
        return shown;
    }

    // What the window says above its lines, and whether the rules shown are
    // out of date.
    val rulesStatus() const {
        val status = val::object();
        status.set("text", RulesStatus(state_));
        status.set("outOfDate", !RulesOutOfDate(state_).empty());
        return status;
    }

    // Copy Table: the table and the six lines as plain text and HTML, or null
    // before any rules were computed.
    val copyTable() const {
        return state_.rules ? Copied(CopiedTable(*state_.rules, state_.format)) : val::null();
    }

    // The scree plot of the last rules laid out in width x height pixels:
    // its SVG, its accessible name and its description; null before any rules
    // were computed.
    val plot(double width, double height) const { return Plot({width, height, 1}); }

    // The plot shown in width x height pixels as a figure for a report, at
    // the size a copy or a file has.
    val figure(double width, double height) const { return Plot(FigureSize(width, height)); }

  private:
    val Plot(const PlotSize& size) const {
        if (!state_.rules) {
            return val::null();
        }
        const ScreePlot plot = LaidOutScreePlot(PlotData(*state_.rules), size, state_.format);
        val shown = val::object();
        shown.set("svg", ScreePlotSvg(plot));
        shown.set("width", plot.width);
        shown.set("height", plot.height);
        shown.set("name", plot.name);
        shown.set("description", plot.description);
        return shown;
    }

    // Use has written the data's numbers: the rules are due, with or without
    // a Test, once the page has shown the rows.
    val FollowedByRules(const std::optional<FailureReport>& report) {
        rulesDue_ = true;
        return Report(report);
    }

    // The computation requested, its random data made ready to draw.
    int Pending(std::optional<RulesComputation::Request> request) {
        pending_.reset();
        if (!request) {
            return 0;
        }
        const int id = request->id;
        pending_.emplace(std::move(*request));
        return id;
    }

    bool IsBox(int control) const {
        return control >= 0 && control < kControlCount &&
               state_.box(kControls[control].id) != nullptr;
    }

    // Rules being computed a slice at a time, between which the page paints
    // and takes input.
    struct PendingRules {
        explicit PendingRules(RulesComputation::Request request)
            : id(request.id), numbers(std::move(request.numbers)), settings(request.settings) {
            if (DrawsRandomData(numbers, settings)) {
                // What cannot be drawn is said in the rules' lines, never thrown
                // to the page.
                try {
                    random = RandomDataInSlicesFor(numbers, settings);
                } catch (const std::exception&) {
                    randomFailed = true;
                }
            }
        }
        int id;
        RuleNumbers numbers;
        RandomDataSettings settings;
        std::unique_ptr<RandomDataInSlices> random;
        bool randomFailed = false;
        std::vector<FactorFit> fits;
    };

    FormState state_;
    // Use has run, or new settings were read: the rules are due whether or
    // not a Test ran.
    bool rulesDue_ = false;
    RulesComputation rules_;
    std::optional<PendingRules> pending_;
};

// The data dialog over one window: a text or a file's bytes, its summary or
// why it cannot be used, the correlations of raw data, and Use These Numbers
// into the window. Correlations are given by their place among the entries.
class DataWindow {
  public:
    DataWindow(const Window& window, std::string bytes, int correlations)
        : format_(window.format()),
          dialog_(OpenDataDialog(std::move(bytes), format_, CorrelationKindAt(correlations))) {}

    // The user edited the text: it is read again.
    void edit(std::string text) { EditDataText(dialog_, std::move(text), format_); }

    // The user chose the correlations: the summary is computed again.
    void choose(int correlations) {
        ChooseCorrelations(dialog_, CorrelationKindAt(correlations), format_);
    }

    // What the dialog shows: its text, whether that may be edited, the
    // summary or the refusal, and whether Use is possible.
    val shown() const {
        val shown = val::object();
        shown.set("text", dialog_.shownText);
        shown.set("editable", dialog_.editable);
        shown.set("summary", dialog_.summary);
        shown.set("usable", dialog_.usable());
        shown.set("offersCorrelations", dialog_.offersCorrelations());
        shown.set("correlations", CorrelationIndex(dialog_.correlations));
        return shown;
    }

    // Use These Numbers: the failure report of the Test it runs, if any;
    // nothing happens while the text is refused.
    val use(Window& window) const {
        return dialog_.reading ? window.useData(*dialog_.reading) : val::null();
    }

  private:
    NumberFormat format_;
    DataDialog dialog_;
};

}  // namespace
}  // namespace trolvane

EMSCRIPTEN_BINDINGS(trolvane) {
    using namespace trolvane;
    emscripten::function("controlTable", &ControlTable);
    emscripten::function("readingOrder", &ReadingOrderJson);
    emscripten::function("windowLook", &WindowLook);
    emscripten::function("captionPoints", &CaptionPoints);
    emscripten::function("boxPoints", &BoxTextPoints);
    emscripten::function("shownNumber", &ShownBoxNumber);
    emscripten::function("commandTable", &CommandTable);
    emscripten::function("dialogTexts", &DialogTexts);
    emscripten::function("aboutText", &AboutText);
    emscripten::function("refusalForFileSize", &FileSizeRefusal);
    emscripten::function("howManyTexts", &HowManyTexts);
    emscripten::class_<Window>("Window")
        .constructor<>()
        .function("setSeparators", &Window::setSeparators)
        .function("start", &Window::start)
        .function("test", &Window::test)
        .function("edit", &Window::edit)
        .function("pressReturn", &Window::pressReturn)
        .function("shown", &Window::shown)
        .function("takeFocus", &Window::takeFocus)
        .function("copyResults", &Window::copyResults)
        .function("resultsCsv", &Window::resultsCsv)
        .function("pasteOpensData", &Window::pasteOpensData)
        .function("startRules", &Window::startRules)
        .function("reopenRules", &Window::reopenRules)
        .function("drawRules", &Window::drawRules)
        .function("cancelRules", &Window::cancelRules)
        .function("rulesRunning", &Window::rulesRunning)
        .function("rulesProgress", &Window::rulesProgress)
        .function("setRuleSettings", &Window::setRuleSettings)
        .function("rulesShown", &Window::rulesShown)
        .function("rulesStatus", &Window::rulesStatus)
        .function("copyTable", &Window::copyTable)
        .function("plot", &Window::plot)
        .function("figure", &Window::figure);
    emscripten::class_<DataWindow>("DataWindow")
        .constructor<const Window&, std::string, int>()
        .function("edit", &DataWindow::edit)
        .function("choose", &DataWindow::choose)
        .function("shown", &DataWindow::shown)
        .function("use", &DataWindow::use);
}
