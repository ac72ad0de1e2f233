#include "form/controls.h"

#include <algorithm>
#include <numeric>
#include <string_view>

namespace trolvane {
namespace {

constexpr Look kCaption{9.75};
constexpr Look kSmall{8.25};
constexpr Look kLarge{12};
constexpr int kRowPitch = 480;

constexpr Twips RowPlace(Twips first, int row) {
    return {first.left, first.top + kRowPitch * (row - 1), first.width, first.height};
}

constexpr std::array<ControlEntry, kControlCount> MakeControls() {
    std::array<ControlEntry, kControlCount> controls{{
        {{Control::Label5},
         "Label5",
         Kind::CentredLabel,
         "Bartlett's X\u00b2 Test for  \"the next PC\"",
         {120, 240, 4095, 375},
         {9.75, true},
         20},
        {{Control::Label1},
         "Label1",
         Kind::Label,
         "Number of Variables",
         {240, 960, 2295, 255},
         kCaption,
         0},
        {{Control::v},
         "v",
         Kind::Box,
         " ",
         {2880, 840, 615, 375},
         kLarge,
         1,
         "Number of Variables"},
        {{Control::Label2},
         "Label2",
         Kind::Label,
         "Sample size",
         {240, 1440, 1695, 255},
         kCaption,
         17},
        {{Control::n}, "n", Kind::Box, " ", {2880, 1320, 615, 375}, kLarge, 2, "Sample size"},
        {{Control::Label3},
         "Label3",
         Kind::Label,
         "Determinant of R",
         {240, 1920, 1815, 255},
         kCaption,
         18},
        {{Control::det},
         "det",
         Kind::Box,
         " ",
         {2400, 1800, 1815, 375},
         kSmall,
         3,
         "Determinant of R"},
        {{Control::Label4},
         "Label4",
         Kind::Label,
         "How many factors do you want to consider?",
         {240, 2400, 2175, 495},
         kCaption,
         19},
        {{Control::f},
         "f",
         Kind::Box,
         "",
         {2880, 2280, 615, 375},
         kLarge,
         4,
         "How many factors do you want to consider?"},
        {{Control::Command1}, "Command1", Kind::Button, "Start", {3600, 2400, 615, 375}, kSmall, 5},
        {{Control::Command2}, "Command2", Kind::Button, "Test", {3600, 2880, 615, 375}, kSmall, 16},
        {{Control::oops},
         "oops",
         Kind::ResultLabel,
         "",
         {240, 3120, 3135, 375},
         {8.25, true},
         44,
         "",
         kBlue},
        {{Control::tlabel}, "tlabel", Kind::ResultLabel, "", {2160, 3720, 2295, 615}, kSmall, 23},
        {{Control::flabel}, "flabel", Kind::Label, "", {120, 3960, 615, 375}, kSmall, 21},
        {{Control::elabel}, "elabel", Kind::Label, "", {960, 4080, 855, 255}, kSmall, 22},
    }};
    constexpr const char* kEigenvalueNames[kRows] = {
        "Eigenvalue 1", "Eigenvalue 2", "Eigenvalue 3", "Eigenvalue 4", "Eigenvalue 5",
        "Eigenvalue 6", "Eigenvalue 7", "Eigenvalue 8", "Eigenvalue 9", "Eigenvalue 10",
    };
    for (int row = 1; row <= kRows; ++row) {
        const int at = 15 + 3 * (row - 1);
        controls[at] = {{Control::fnum, row},
                        "fnum",
                        Kind::Label,
                        "",
                        RowPlace({240, 4680, 375, 255}, row),
                        kSmall,
                        23 + row};
        controls[at + 1] = {{Control::eigen, row},
                            "eigen",
                            Kind::Box,
                            " ",
                            RowPlace({960, 4560, 975, 405}, row),
                            kSmall,
                            5 + row,
                            kEigenvalueNames[row - 1]};
        controls[at + 2] = {{Control::test, row},
                            "test",
                            Kind::ResultLabel,
                            "",
                            RowPlace({2520, 4560, 2175, 375}, row),
                            kSmall,
                            33 + row};
    }
    return controls;
}

}  // namespace

constinit const std::array<ControlEntry, kControlCount> kControls = MakeControls();

std::string ControlName(const ControlEntry& entry) {
    std::string name = entry.name;
    if (entry.id.row > 0) {
        name.append("_").append(std::to_string(entry.id.row));
    }
    return name;
}

const ControlEntry& EntryOf(ControlId id) {
    return kControls[IndexOf(id)];
}

int IndexOf(ControlId id) {
    const auto entry =
        std::find_if(kControls.begin(), kControls.end(),
                     [&](const ControlEntry& candidate) { return candidate.id == id; });
    return static_cast<int>(entry - kControls.begin());
}

std::vector<int> ReadingOrder() {
    const auto takesFocus = [](int i) {
        return kControls[i].kind == Kind::Box || kControls[i].kind == Kind::Button;
    };
    std::vector<int> created(kControlCount);
    std::iota(created.begin(), created.end(), 0);
    std::stable_sort(created.begin(), created.end(), [&](int a, int b) {
        if (takesFocus(a) != takesFocus(b)) {
            return takesFocus(a);
        }
        return takesFocus(a) && kControls[a].tab < kControls[b].tab;
    });
    std::vector<int> order;
    const auto add = [&](int i) {
        if (std::find(order.begin(), order.end(), i) == order.end()) {
            order.push_back(i);
        }
    };
    for (const int i : created) {
        if (kControls[i].kind == Kind::Box) {
            const auto naming = std::find_if(created.begin(), created.end(), [&](int label) {
                return kControls[label].kind == Kind::Label &&
                       std::string_view(kControls[label].text) == kControls[i].spokenName;
            });
            if (naming != created.end()) {
                add(*naming);
            }
        }
        add(i);
    }
    return order;
}

std::string BoxName(ControlId box) {
    return box.control == Control::f ? "The number of factors" : EntryOf(box).spokenName;
}

}  // namespace trolvane
