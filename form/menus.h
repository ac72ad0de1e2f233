// The window's commands beyond its two buttons, as data: the menu each stands
// in, its text and its keys, from which every edition builds its menu bar or
// command bar.
#pragma once

#include <array>
#include <utility>

namespace trolvane {

enum class MenuCommand {
    OpenData,
    SaveResults,
    Quit,
    PasteData,
    CopyResults,
    HowManyComponents,
    About
};

struct Key {
    bool shift = false;
    // The letter pressed with Ctrl.
    char letter;
};

struct MenuEntry {
    MenuCommand command;
    // "File", "Edit", "View" or "Help".
    const char* menu;
    // As the menu shows it; "..." where a dialog asks for more.
    const char* text;
    // Ctrl with this letter, and Shift where it says so; none for About.
    bool hasKey;
    Key key;
    // Desktop editions only: a browser page does not quit.
    bool desktopOnly = false;
};

// The commands in the order the menus show them, menu after menu.
inline constexpr std::array<MenuEntry, 7> kMenuCommands{{
    {MenuCommand::OpenData, "File", "Open Data...", true, {false, 'O'}},
    {MenuCommand::SaveResults, "File", "Save Results...", true, {false, 'S'}},
    {MenuCommand::Quit, "File", "Quit", true, {false, 'Q'}, true},
    {MenuCommand::PasteData, "Edit", "Paste Data", true, {true, 'V'}},
    {MenuCommand::CopyResults, "Edit", "Copy Results", true, {true, 'C'}},
    {MenuCommand::HowManyComponents, "View", "How Many Components", true, {true, 'H'}},
    {MenuCommand::About, "Help", "About Trolvane", false, {}},
}};

// Runs the desktop window's slot for the command: each window names its slots
// after the commands, OpenData_Click to About_Click, and makes this a friend.
template <typename Window>
void RunMenuCommand(Window& window, MenuCommand command) {
    static constexpr std::pair<MenuCommand, void (Window::*)()> kSlots[] = {
        {MenuCommand::OpenData, &Window::OpenData_Click},
        {MenuCommand::SaveResults, &Window::SaveResults_Click},
        {MenuCommand::Quit, &Window::Quit_Click},
        {MenuCommand::PasteData, &Window::PasteData_Click},
        {MenuCommand::CopyResults, &Window::CopyResults_Click},
        {MenuCommand::HowManyComponents, &Window::HowManyComponents_Click},
        {MenuCommand::About, &Window::About_Click},
    };
    for (const auto& [each, slot] : kSlots) {
        if (each == command) {
            (window.*slot)();
        }
    }
}

}  // namespace trolvane
