// The window's controls as data: each one's name, kind, place in twips, font,
// colours and place in the keyboard's order, from which every edition builds it.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace trolvane {

// The number of rows: eigenvalue boxes, row numbers and result labels.
constexpr int kRows = 10;

enum class Control {
    Label5,
    Label1,
    v,
    Label2,
    n,
    Label3,
    det,
    Label4,
    f,
    Command1,
    Command2,
    oops,
    tlabel,
    flabel,
    elabel,
    fnum,
    eigen,
    test,
};

// A control, with its row from 1 to 10 where it belongs to a row array.
struct ControlId {
    Control control;
    int row = 0;
    friend bool operator==(const ControlId&, const ControlId&) = default;
};

enum class Kind { Label, CentredLabel, ResultLabel, Box, Button };

// A place in twips, 1/1440 inch: 15 twips a pixel at 96 dots per inch.
struct Twips {
    int left;
    int top;
    int width;
    int height;
};

constexpr int kTwipsPerPixelAt96Dpi = 15;
constexpr Twips kClientArea{0, 0, 4980, 9405};

struct Look {
    double points;
    bool bold = false;
};

struct Rgb {
    std::uint8_t red;
    std::uint8_t green;
    std::uint8_t blue;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

// The window and its labels are orange; label text is black, the warning's blue.
constexpr Rgb kOrange{255, 128, 0};
constexpr Rgb kBlack{0, 0, 0};
constexpr Rgb kBlue{0, 0, 255};
// A caption that is out of date is drawn in italic dark grey, 5:1 against the
// orange; one whose inputs are impossible in dark red on pale yellow, 8:1.
constexpr Rgb kOutOfDateText{51, 51, 51};
constexpr Rgb kWarningText{139, 0, 0};
constexpr Rgb kWarningBackground{255, 236, 160};

struct ControlEntry {
    ControlId id;
    const char* name;
    Kind kind;
    // The initial text of a box or caption of a label or button.
    const char* text;
    Twips place;
    Look look;
    // The place in the keyboard's order; boxes and buttons take the focus.
    int tab;
    // What a screen reader calls a box: the caption of the label beside it.
    const char* spokenName = "";
    Rgb textColour = kBlack;
};

constexpr int kControlCount = 15 + 3 * kRows;

// Every control, in the order the window creates them.
extern const std::array<ControlEntry, kControlCount> kControls;

// The control's name as the program knows it: "v", "eigen_3", "Label5".
std::string ControlName(const ControlEntry& entry);

// The box's name as a sentence names it: "Sample size", "Eigenvalue 3".
std::string BoxName(ControlId box);

// The control's entry in kControls.
const ControlEntry& EntryOf(ControlId id);

// Where the control stands in kControls.
int IndexOf(ControlId id);

// Every control, by its index in kControls, in the order a reader meets them:
// the boxes and buttons in the keyboard's order, each box right after the label
// that names it, then the other labels as the window creates them.
std::vector<int> ReadingOrder();

}  // namespace trolvane
