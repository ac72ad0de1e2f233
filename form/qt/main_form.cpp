#include "form/qt/main_form.h"

#include <QClipboard>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QLocale>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QSaveFile>
#include <QVBoxLayout>
#include <algorithm>
#include <memory>

#include "form/about.h"
#include "form/qt/application.h"
#include "form/qt/caption.h"
#include "form/qt/data_window.h"
#include "form/qt/how_many_window.h"
#include "form/qt/number_box.h"
#include "form/qt/stand_in_font.h"
#include "form/results.h"

namespace trolvane {
namespace {

QRect Pixels(const Twips& twips) {
    constexpr int k = kTwipsPerPixelAt96Dpi;
    return {twips.left / k, twips.top / k, twips.width / k, twips.height / k};
}

QFont FontOf(const Look& look) {
    return StandInFont(look.points, look.bold);
}

// Every control gets its font before its text, so that no text is laid out
// twice; a control in the window's own font just keeps it.
void SetFont(QWidget* control, const Look& look) {
    const QFont font = FontOf(look);
    if (font != control->font()) {
        control->setFont(font);
    }
}

// Places the control before its text is set, so that a caption is fitted to
// its label's own size.
void Place(QWidget* control, const ControlEntry& entry) {
    control->setObjectName(QString::fromStdString(ControlName(entry)));
    control->setGeometry(Pixels(entry.place));
}

QWidget* AddControl(QWidget* form, const ControlEntry& entry) {
    const QString text = QString::fromUtf8(entry.text);
    switch (entry.kind) {
        case Kind::Label:
        case Kind::CentredLabel:
        case Kind::ResultLabel: {
            const Rgb colour = entry.textColour;
            auto* label =
                new Caption(FontOf(entry.look), qRgb(colour.red, colour.green, colour.blue), form);
            Place(label, entry);
            label->setTextFormat(Qt::PlainText);
            label->setWordWrap(true);
            label->setAlignment(
                (entry.kind == Kind::CentredLabel ? Qt::AlignHCenter : Qt::AlignLeft) |
                Qt::AlignTop);
            if (entry.kind == Kind::ResultLabel) {
                // A result the user may want to copy into a report.
                label->setTextInteractionFlags(Qt::TextSelectableByMouse);
            }
            label->setCaption(text);
            return label;
        }
        case Kind::Box: {
            auto* box = new NumberBox(FontOf(entry.look), form);
            Place(box, entry);
            box->setAccessibleName(QString::fromUtf8(entry.spokenName));
            box->setNumber(text);
            return box;
        }
        case Kind::Button: {
            auto* button = new QPushButton(form);
            Place(button, entry);
            SetFont(button, entry.look);
            button->setText(text);
            return button;
        }
    }
    return nullptr;
}

bool InRow(const ControlEntry& entry) {
    return entry.id.row != 0;
}

// Whether the state has anything to show in the rows: a box shown, a caption,
// or the keyboard sent to a row.
bool RowsInUse(const FormState& form) {
    const auto written = [](const Label& label) { return !label.caption.empty(); };
    const auto shown = [](const TextBox& box) { return box.visible; };
    return std::any_of(form.eigenBoxes.begin(), form.eigenBoxes.end(), shown) ||
           std::any_of(form.fnumLabels.begin(), form.fnumLabels.end(), written) ||
           std::any_of(form.testLabels.begin(), form.testLabels.end(), written) ||
           (form.focus && form.focus->box.row != 0);
}

// Save Results proposes this name in the working folder, wherever the last file
// dialog was.
constexpr char kResultsFile[] = "trolvane-results.csv";

// The first local file among dropped URLs; empty where none is one.
QString DroppedFile(const QMimeData& dropped) {
    for (const QUrl& url : dropped.urls()) {
        if (url.isLocalFile()) {
            return url.toLocalFile();
        }
    }
    return {};
}

}  // namespace

QKeySequence KeysOf(const MenuEntry& entry) {
    const Qt::KeyboardModifiers modifiers =
        entry.key.shift ? Qt::ControlModifier | Qt::ShiftModifier : Qt::ControlModifier;
    return QKeySequence(QKeyCombination(modifiers, Qt::Key(Qt::Key_A + entry.key.letter - 'A')));
}

NumberFormat UserNumberFormat() {
    const QLocale locale = QLocale::system();
    return {locale.decimalPoint().toStdString(), locale.groupSeparator().toStdString()};
}

MainForm::MainForm(QWidget* parent) : QWidget(parent), state_(UserNumberFormat()) {
    setWindowTitle("Trolvane");
    setWindowIcon(TrolvaneIcon());
    setAcceptDrops(true);
    // The font most controls use, inherited rather than set on each.
    setFont(FontOf({kSmallPoints}));

    area_ = new QWidget;
    area_->setObjectName("form");
    area_->setFixedSize(Pixels(kClientArea).size());
    QPalette background = area_->palette();
    background.setColor(QPalette::Window, QColor(kOrange.red, kOrange.green, kOrange.blue));
    area_->setPalette(background);
    area_->setAutoFillBackground(true);

    // The menu bar above the form, which keeps its designed size: the window
    // grows by the bar's height, and cannot be resized.
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->setMenuBar(AddMenuBar());
    layout->addWidget(area_);

    rulesProgress_.setInterval(100);
    connect(&rulesProgress_, &QTimer::timeout, this, &MainForm::Rules_Progress);

    AddControls(false);
    connect(static_cast<QPushButton*>(controls_[IndexOf({Control::Command1})]),
            &QPushButton::clicked, this, &MainForm::Command1_Click);
    connect(static_cast<QPushButton*>(controls_[IndexOf({Control::Command2})]),
            &QPushButton::clicked, this, &MainForm::Command2_Click);
    Form_Load();
}

// The menus and their commands, from the command table, each with its keys,
// which work wherever the keyboard is in the window.
QMenuBar* MainForm::AddMenuBar() {
    auto* bar = new QMenuBar(this);
    // In the window, even on desktops with a global menu.
    bar->setNativeMenuBar(false);
    QMenu* menu = nullptr;
    for (const MenuEntry& entry : kMenuCommands) {
        if (menu == nullptr || menu->title().mid(1) != QLatin1String(entry.menu)) {
            menu = bar->addMenu(QString("&") + entry.menu);
        }
        QAction* action = menu->addAction(QString::fromUtf8(entry.text));
        if (entry.hasKey) {
            action->setShortcut(KeysOf(entry));
        }
        const MenuCommand command = entry.command;
        connect(action, &QAction::triggered, this, [this, command] { Menu_Click(command); });
    }
    return bar;
}

// The rows' controls stay hidden until Start shows them, so they are made only
// then, and the window's start does not wait for them.
void MainForm::AddControls(bool rows) {
    for (int i = 0; i < kControlCount; ++i) {
        if (InRow(kControls[i]) != rows) {
            continue;
        }
        controls_[i] = AddControl(area_, kControls[i]);
        if (auto* box = qobject_cast<QLineEdit*>(controls_[i])) {
            connect(box, &QLineEdit::textChanged, this, [this, i] { Box_Change(i); });
            box->installEventFilter(this);
        }
    }

    // The keyboard's order: v, n, det, f, Start, the eigenvalue boxes, Test.
    QWidget* previous = nullptr;
    for (const int i : ReadingOrder()) {
        const Kind kind = kControls[i].kind;
        if (controls_[i] != nullptr && (kind == Kind::Box || kind == Kind::Button)) {
            if (previous != nullptr) {
                setTabOrder(previous, controls_[i]);
            }
            previous = controls_[i];
        }
    }
}

void MainForm::Form_Load() {
    LoadForm(state_);
    Show();
}

void MainForm::Command1_Click() {
    Show(PressStart(state_));
}

void MainForm::Command2_Click() {
    Show(PressTest(state_));
}

void MainForm::Box_Change(int control) {
    if (showing_) {
        return;
    }
    auto* box = static_cast<QLineEdit*>(controls_[control]);
    EditBox(state_, kControls[control].id, box->text().toStdString());
    Show();
}

bool MainForm::eventFilter(QObject* watched, QEvent* event) {
    if (auto* box = qobject_cast<QLineEdit*>(watched); box != nullptr && BoxEvent(box, event)) {
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

// Return presses the box's command; a paste or drop of a matrix, by key, by
// the context menu, by the middle button or by dragging, opens the data dialog.
bool MainForm::BoxEvent(QLineEdit* box, QEvent* event) {
    switch (event->type()) {
        case QEvent::KeyPress: {
            const auto* key = static_cast<QKeyEvent*>(event);
            if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
                const auto at = std::find(controls_.begin(), controls_.end(), box);
                Show(PressReturn(state_, kControls[at - controls_.begin()].id));
                return true;
            }
            return key->matches(QKeySequence::Paste) &&
                   PastedIntoDataDialog(QGuiApplication::clipboard()->text());
        }
        case QEvent::MouseButtonRelease:
            return static_cast<QMouseEvent*>(event)->button() == Qt::MiddleButton &&
                   PastedIntoDataDialog(QGuiApplication::clipboard()->text(QClipboard::Selection));
        case QEvent::ContextMenu: {
            std::unique_ptr<QMenu> menu(box->createStandardContextMenu());
            for (QAction* action : menu->actions()) {
                if (action->text().startsWith(QLineEdit::tr("&Paste"))) {
                    action->disconnect(box);
                    connect(action, &QAction::triggered, box, [this, box] {
                        if (!PastedIntoDataDialog(QGuiApplication::clipboard()->text())) {
                            box->paste();
                        }
                    });
                }
            }
            menu->exec(static_cast<QContextMenuEvent*>(event)->globalPos());
            return true;
        }
        case QEvent::Drop: {
            auto* drop = static_cast<QDropEvent*>(event);
            if (!DropOpensDataDialog(*drop->mimeData())) {
                return false;
            }
            drop->acceptProposedAction();
            return true;
        }
        default:
            return false;
    }
}

void MainForm::dragEnterEvent(QDragEnterEvent* event) {
    if (!DroppedFile(*event->mimeData()).isEmpty()) {
        event->acceptProposedAction();
    }
}

void MainForm::dropEvent(QDropEvent* event) {
    if (DropOpensDataDialog(*event->mimeData())) {
        event->acceptProposedAction();
    }
}

// The dialog opens once the drop is over, so that the program the drop came
// from is not kept waiting for it.
bool MainForm::DropOpensDataDialog(const QMimeData& dropped) {
    const QString file = DroppedFile(dropped);
    const std::string text = dropped.text().toStdString();
    if (file.isEmpty() && !PasteOpensDataDialog(text, state_.format)) {
        return false;
    }
    const auto open = [this, file, text] {
        if (file.isEmpty()) {
            ShowDataDialog(OpenDataDialog(text, state_.format, correlations_));
        } else {
            OpenFile(file);
        }
    };
    QMetaObject::invokeMethod(this, open, Qt::QueuedConnection);
    return true;
}

void MainForm::Show(const std::optional<FailureReport>& report) {
    const bool rowsMade = controls_[IndexOf({Control::eigen, 1})] != nullptr;
    if (!rowsMade && RowsInUse(state_)) {
        AddControls(true);
    }
    showing_ = true;
    for (int i = 0; i < kControlCount; ++i) {
        const ControlId id = kControls[i].id;
        if (controls_[i] == nullptr) {
            continue;
        }
        if (const TextBox* box = state_.box(id)) {
            auto* edit = static_cast<NumberBox*>(controls_[i]);
            edit->setNumber(QString::fromStdString(box->text));
            if (edit->isHidden() == box->visible) {
                edit->setVisible(box->visible);
            }
        } else if (const Label* label = state_.label(id)) {
            auto* caption = static_cast<Caption*>(controls_[i]);
            caption->setMarks(!label->outOfDate.empty(), !label->impossible.empty());
            caption->setCaption(QString::fromStdString(label->caption));
            const QString note = QString::fromStdString(label->Note());
            if (caption->toolTip() != note) {
                caption->setToolTip(note);
                caption->setAccessibleDescription(note);
            }
        }
    }
    showing_ = false;
    if (howMany_ != nullptr && howMany_->isVisible()) {
        howMany_->Show(state_);
    }
    // After each Test, once its rows are shown.
    if (auto request = rules_.AfterCommand(state_, RulesComputation::Clock::now())) {
        RunRules(std::move(request));
    }
    if (report) {
        ReportError(*report);
    }
    // The keyboard goes where the state says, its text selected to type over.
    if (state_.focus) {
        auto* box = static_cast<QLineEdit*>(controls_[IndexOf(state_.focus->box)]);
        state_.focus.reset();
        box->setFocus(Qt::OtherFocusReason);
        // Selected from the end back, so that the box shows its leading digits.
        box->setSelection(static_cast<int>(box->text().size()),
                          -static_cast<int>(box->text().size()));
    }
}

void MainForm::ReportError(const FailureReport& report) {
    QMessageBox box(QMessageBox::Critical, "Trolvane", QString::fromStdString(report.message),
                    QMessageBox::Ok, this);
    box.setInformativeText(QString::fromStdString(report.advice));
    box.exec();
}

void MainForm::Menu_Click(MenuCommand command) {
    RunMenuCommand(*this, command);
}

void MainForm::OpenData_Click() {
    const QString file = QFileDialog::getOpenFileName(
        this, "Open Data", QString(),
        "Data (*.csv *.tsv *.txt);;Comma-separated values (*.csv);;Tab-separated values (*.tsv);;"
        "Text (*.txt);;All files (*)");
    if (!file.isEmpty()) {
        OpenFile(file);
    }
}

void MainForm::OpenFile(const QString& path) {
    ShowDataDialog(
        OpenDataFile(QFile::encodeName(path).toStdString(), state_.format, correlations_));
}

void MainForm::PasteData_Click() {
    ShowDataDialog(OpenDataDialog(QGuiApplication::clipboard()->text().toStdString(), state_.format,
                                  correlations_));
}

bool MainForm::PastedIntoDataDialog(const QString& text) {
    const std::string pasted = text.toStdString();
    if (!PasteOpensDataDialog(pasted, state_.format)) {
        return false;
    }
    ShowDataDialog(OpenDataDialog(pasted, state_.format, correlations_));
    return true;
}

void MainForm::ShowDataDialog(DataDialog dialog) {
    DataWindow window(std::move(dialog), state_.format, this);
    const bool used = window.exec() == QDialog::Accepted;
    correlations_ = window.correlations();
    if (used) {
        const int runs = state_.testRuns;
        Show(UseData(state_, *window.reading()));
        // Use without a Test, for a matrix without its sample size.
        if (state_.testRuns == runs) {
            RunRules(rules_.Start(state_, RulesComputation::Clock::now()));
        }
    }
}

void MainForm::CopyResults_Click() {
    const std::optional<CopiedResults> results = CopyResults(state_);
    if (!results) {
        Tell(kNoResults);
        return;
    }
    auto* copied = new QMimeData;
    copied->setText(QString::fromStdString(results->plainText));
    copied->setHtml(QString::fromStdString(results->html));
    QGuiApplication::clipboard()->setMimeData(copied);
}

void MainForm::SaveResults_Click() {
    const std::optional<std::string> csv = ResultsCsv(state_);
    if (!csv) {
        Tell(kNoResults);
        return;
    }
    const QString path =
        QFileDialog::getSaveFileName(this, "Save Results", QDir::current().filePath(kResultsFile),
                                     "Comma-separated values (*.csv);;All files (*)");
    if (path.isEmpty()) {
        return;
    }
    // Written whole or not at all: a file that could not be written keeps what
    // it held, and the user is told why.
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly)) {
        file.write(csv->data(), static_cast<qint64>(csv->size()));
    }
    if (!file.commit()) {
        QMessageBox::critical(this, "Trolvane",
                              QString("The results could not be saved to %1: %2")
                                  .arg(QDir::toNativeSeparators(path), file.errorString()));
    }
}

void MainForm::RunRules(std::optional<RulesComputation::Request> request) {
    rulesJob_.reset();
    if (request) {
        rulesJob_ = std::make_unique<RulesJob>(std::move(*request), [this](int id) {
            QMetaObject::invokeMethod(
                this, [this, id] { Rules_Finish(id); }, Qt::QueuedConnection);
        });
        rulesProgress_.start();
    }
    Rules_Progress();
}

void MainForm::Rules_Finish(int id) {
    if (rulesJob_ == nullptr || rulesJob_->id() != id ||
        !rules_.Finish(id, rulesJob_->result(), state_)) {
        return;
    }
    rulesJob_.reset();
    Rules_Progress();
    if (howMany_ != nullptr && howMany_->isVisible()) {
        howMany_->Show(state_);
    }
}

// What the computation's owner says of its progress, drawn.
void MainForm::Rules_Progress() {
    if (rulesJob_ == nullptr) {
        rulesProgress_.stop();
    }
    if (howMany_ != nullptr) {
        howMany_->ShowProgress(rules_.Progress(RulesComputation::Clock::now(),
                                               rulesJob_ ? rulesJob_->setsDone() : 0,
                                               rulesJob_ ? rulesJob_->modelsFitted() : 0));
    }
}

void MainForm::HowManyComponents_Click() {
    if (howMany_ == nullptr) {
        howMany_ = new HowManyWindow(state_.format, this);
        connect(howMany_, &HowManyWindow::settingsChosen, this,
                [this](RandomDataSettings settings) {
                    state_.ruleSettings = settings;
                    RunRules(rules_.Start(state_, RulesComputation::Clock::now()));
                });
        // Closing the window stops a computation still running.
        connect(howMany_, &QDialog::finished, this, [this] {
            if (rules_.Close()) {
                RunRules(std::nullopt);
            }
        });
        // Beside the main window.
        howMany_->move(frameGeometry().topRight() + QPoint(8, 0));
    }
    // Opened again, it runs what closing it stopped.
    if (auto request = rules_.Open(RulesComputation::Clock::now())) {
        RunRules(std::move(request));
    }
    howMany_->Show(state_);
    Rules_Progress();
    howMany_->show();
    howMany_->raise();
    howMany_->activateWindow();
}

void MainForm::Quit_Click() {
    close();
}

void MainForm::About_Click() {
    QMessageBox about(QMessageBox::NoIcon, "About Trolvane", QString::fromStdString(AboutText()),
                      QMessageBox::Ok, this);
    about.setIconPixmap(windowIcon().pixmap(64));
    about.setTextFormat(Qt::PlainText);
    about.setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    about.exec();
}

void MainForm::Tell(const char* text) {
    QMessageBox::information(this, "Trolvane", text);
}

}  // namespace trolvane
