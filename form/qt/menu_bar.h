// The window's menu bar, built from the menu command table. At start-up only
// its titles are drawn, as the desktop's menu bar draws them; the menu bar
// itself is made when the user first reaches for it, and each menu's commands
// when that menu first opens, so that none of it slows the window's start.
#pragma once

#include <QAccessible>
#include <QStyleOptionMenuItem>
#include <QWidget>
#include <array>
#include <optional>
#include <string_view>

#include "form/menus.h"

class QKeyEvent;
class QMenu;
class QMenuBar;

namespace trolvane {

// The command a key press stands for, where it is one of the table's keys.
std::optional<MenuCommand> CommandOfKey(const QKeyEvent& event);

class MenuBar : public QWidget, private QAccessible::ActivationObserver {
    Q_OBJECT

  public:
    explicit MenuBar(QWidget* parent);
    ~MenuBar() override;

    // The height the desktop's menu bar has with these titles.
    int barHeight() const;

    // The menu bar itself, made the first time it is asked for: when the
    // pointer comes over the titles, or Alt is pressed.
    QMenuBar* menus();

  signals:
    void chosen(MenuCommand command);

  protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

  private:
    // How many menus the table's commands stand in.
    static constexpr int kMenus = [] {
        int menus = 0;
        std::string_view last;
        for (const MenuEntry& entry : kMenuCommands) {
            menus += entry.menu != last ? 1 : 0;
            last = entry.menu;
        }
        return menus;
    }();

    // The menus' titles, each with the letter Alt opens it by.
    std::array<QString, kMenus> titles_;
    // Where each title is drawn, as the desktop's menu bar places it.
    std::array<QStyleOptionMenuItem, kMenus> titleOptions() const;
    // Gives a menu its commands the first time it opens.
    void fill(QMenu* menu, const QString& title);
    // A screen reader finds the real menu bar from the start.
    void accessibilityActiveChanged(bool active) override;

    QMenuBar* menus_ = nullptr;
};

}  // namespace trolvane
