#include "form/qt/menu_bar.h"

#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QStyle>

namespace trolvane {
namespace {

QKeySequence KeysOf(const MenuEntry& entry) {
    const Qt::KeyboardModifiers modifiers =
        entry.key.shift ? Qt::ControlModifier | Qt::ShiftModifier : Qt::ControlModifier;
    return QKeySequence(QKeyCombination(modifiers, Qt::Key(Qt::Key_A + entry.key.letter - 'A')));
}

}  // namespace

std::optional<MenuCommand> CommandOfKey(const QKeyEvent& event) {
    const QKeySequence pressed(event.keyCombination());
    for (const MenuEntry& entry : kMenuCommands) {
        if (entry.hasKey && KeysOf(entry) == pressed) {
            return entry.command;
        }
    }
    return std::nullopt;
}

MenuBar::MenuBar(QWidget* parent) : QWidget(parent) {
    // As the desktop's menu bar is drawn.
    setBackgroundRole(QPalette::Button);
    std::string_view last;
    auto title = titles_.begin();
    for (const MenuEntry& entry : kMenuCommands) {
        if (entry.menu != last) {
            *title++ = QString("&") + entry.menu;
            last = entry.menu;
        }
    }
    QAccessible::installActivationObserver(this);
    accessibilityActiveChanged(QAccessible::isActive());
}

MenuBar::~MenuBar() {
    QAccessible::removeActivationObserver(this);
}

void MenuBar::accessibilityActiveChanged(bool active) {
    if (active) {
        // Once the window has placed the bar.
        QMetaObject::invokeMethod(this, &MenuBar::menus, Qt::QueuedConnection);
    }
}

// The titles' places as the desktop's menu bar works them out: each title's
// text grown by the style, all as high as the highest, left to right.
std::array<QStyleOptionMenuItem, MenuBar::kMenus> MenuBar::titleOptions() const {
    const QStyle* look = style();
    const int frame = look->pixelMetric(QStyle::PM_MenuBarPanelWidth, nullptr, this);
    const int spacing = look->pixelMetric(QStyle::PM_MenuBarItemSpacing, nullptr, this);
    std::array<QStyleOptionMenuItem, kMenus> options;
    int highest = 0;
    for (int i = 0; i < kMenus; ++i) {
        QStyleOptionMenuItem& option = options[i];
        option.initFrom(this);
        option.state = isEnabled() ? QStyle::State_Enabled : QStyle::State_None;
        option.menuRect = rect();
        option.menuItemType = QStyleOptionMenuItem::Normal;
        option.checkType = QStyleOptionMenuItem::NotCheckable;
        option.text = titles_[i];
        const QSize text = fontMetrics().size(Qt::TextShowMnemonic, titles_[i]);
        option.rect.setSize(look->sizeFromContents(QStyle::CT_MenuBarItem, &option, text, this));
        highest = std::max(highest, option.rect.height());
    }
    int x = frame + look->pixelMetric(QStyle::PM_MenuBarHMargin, nullptr, this) + spacing;
    const int y = frame + look->pixelMetric(QStyle::PM_MenuBarVMargin, nullptr, this);
    for (QStyleOptionMenuItem& option : options) {
        option.rect = QStyle::visualRect(layoutDirection(), rect(),
                                         QRect(x, y, option.rect.width(), highest));
        x += option.rect.width() + spacing;
    }
    return options;
}

int MenuBar::barHeight() const {
    const QStyle* look = style();
    const int frame = look->pixelMetric(QStyle::PM_MenuBarPanelWidth, nullptr, this);
    const int margin = look->pixelMetric(QStyle::PM_MenuBarVMargin, nullptr, this);
    const int below = look->styleHint(QStyle::SH_MainWindow_SpaceBelowMenuBar, nullptr, this);
    return titleOptions().front().rect.height() + below + 2 * frame + 2 * margin;
}

void MenuBar::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    QRegion empty(rect());
    for (const QStyleOptionMenuItem& option : titleOptions()) {
        empty -= option.rect;
        painter.setClipRect(option.rect);
        style()->drawControl(QStyle::CE_MenuBarItem, &option, &painter, this);
    }
    QStyleOptionMenuItem area;
    area.palette = palette();
    area.state = QStyle::State_None;
    area.menuItemType = QStyleOptionMenuItem::EmptyArea;
    area.checkType = QStyleOptionMenuItem::NotCheckable;
    area.rect = rect();
    area.menuRect = rect();
    painter.setClipRegion(empty);
    style()->drawControl(QStyle::CE_MenuBarEmptyArea, &area, &painter, this);
}

bool MenuBar::event(QEvent* event) {
    if (event->type() == QEvent::Enter || event->type() == QEvent::MouseButtonPress) {
        menus();
    }
    return QWidget::event(event);
}

QMenuBar* MenuBar::menus() {
    if (menus_ != nullptr) {
        return menus_;
    }
    menus_ = new QMenuBar(this);
    // In the window, where its titles were drawn, even on desktops with a
    // global menu.
    menus_->setNativeMenuBar(false);
    for (const QString& title : titles_) {
        QMenu* menu = menus_->addMenu(title);
        connect(menu, &QMenu::aboutToShow, this, [this, menu, title] { fill(menu, title); });
    }
    menus_->setGeometry(rect());
    menus_->show();
    return menus_;
}

void MenuBar::fill(QMenu* menu, const QString& title) {
    if (!menu->isEmpty()) {
        return;
    }
    for (const MenuEntry& entry : kMenuCommands) {
        if (title.mid(1) != QLatin1String(entry.menu)) {
            continue;
        }
        QAction* action = menu->addAction(QString::fromUtf8(entry.text));
        if (entry.hasKey) {
            action->setShortcut(KeysOf(entry));
        }
        const MenuCommand command = entry.command;
        connect(action, &QAction::triggered, this, [this, command] { emit chosen(command); });
    }
}

}  // namespace trolvane
