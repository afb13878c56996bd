#include "launcher_window.h"

#include "choose_game_panel.h"
#include "elided_label.h"
#include "qt_controls.h"
#include "status_label.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QStyle>
#include <QVBoxLayout>

namespace vornik {

namespace {

// The secondary label colour: the text colour at half strength.
void useSecondaryColour(QLabel* label) {
    QPalette palette = label->palette();
    QColor colour = palette.color(QPalette::WindowText);
    colour.setAlphaF(0.5f);
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
}

// The system's small font size relative to its regular one (11 against 13 points).
QFont smallSystemFont(const QFont& regular) {
    QFont small = regular;
    small.setPointSizeF(regular.pointSizeF() * 11.0 / 13.0);
    return small;
}

}  // namespace

struct LauncherWindow::Bindings {
    QtElidedLabel path;
    QtStatusLabel status;
    QtButton play, choose, logs;
    QtCheckbox skipVideos, windowed, adaptiveTriggers;

    Controls controls() {
        return Controls{&path, &status, &play, &choose, &logs, &skipVideos, &windowed, &adaptiveTriggers};
    }
};

LauncherWindow::LauncherWindow(Services services, QWidget* parent) : QWidget(parent) {
    buildControls();
    bindings_.reset(new Bindings{QtElidedLabel(path_), QtStatusLabel(status_), QtButton(play_),
                                 QtButton(choose_), QtButton(logs_), QtCheckbox(skipVideos_),
                                 QtCheckbox(windowed_), QtCheckbox(adaptiveTriggers_)});
    launcher_ = Launcher::create(bindings_->controls(), std::move(services));
    buildLayout();
    connectActions();
}

LauncherWindow::~LauncherWindow() = default;

void LauncherWindow::buildControls() {
    setWindowTitle("Vornik Launcher");
    setFixedSize(windowWidth, windowHeight);

    title_ = new QLabel("Vornik Complete Edition");
    // Sizes are in the window's points (logical pixels), as its 500 × 305 are.
    QFont titleFont = font();
    titleFont.setPixelSize(25);
    titleFont.setWeight(QFont::DemiBold);
    title_->setFont(titleFont);

    subtitle_ = new QLabel("Play your installed Mac copy on Apple silicon.");
    useSecondaryColour(subtitle_);

    path_ = new ElidedLabel;
    path_->setTextInteractionFlags(Qt::TextSelectableByMouse);

    skipVideos_ = new QCheckBox("Skip startup videos");
    windowed_ = new QCheckBox("Run in a window");
    windowed_->setToolTip("Start in a regular macOS window. Clear this option for full screen.");
    adaptiveTriggers_ = new QCheckBox("Enable Adaptive Triggers");
    adaptiveTriggers_->setToolTip(
        "L2 pulses when the front wheels approach lockup under hard braking. R2 pulses on shifts "
        "and stiffens with engine damage. Handle vibration follows the game's settings.");

    hint_ = new QLabel("For more noticeable effects, set Damage to Full and ABS to Off in-game.");
    hint_->setFont(smallSystemFont(font()));
    useSecondaryColour(hint_);

    status_ = new StatusLabel(statusLines);
    useSecondaryColour(status_);

    logs_ = new QPushButton("Show Logs");
    choose_ = new QPushButton(QString::fromUtf8("Choose Game\u2026"));
    play_ = new QPushButton("Play");
    for (QPushButton* button : {logs_, choose_, play_}) {
        button->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
        button->setAutoDefault(false);
    }
    play_->setDefault(true);
}

void LauncherWindow::buildLayout() {
    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(8);
    buttons->addWidget(logs_);
    buttons->addStretch(1);
    buttons->addWidget(choose_);
    buttons->addWidget(play_);

    column_ = new QWidget;
    auto* stack = new QVBoxLayout(column_);
    stack->setContentsMargins(0, 0, 0, 0);
    stack->setSpacing(0);
    QWidget* items[] = {title_, subtitle_, path_, skipVideos_, windowed_, adaptiveTriggers_, hint_, status_};
    for (QWidget* item : items) {
        if (item != title_) stack->addSpacing(item == hint_ ? 4 : 12);
        stack->addWidget(item, 0, Qt::AlignLeft);
    }
    // Path, status and the button row take the column's whole width.
    stack->setAlignment(path_, Qt::Alignment());
    stack->setAlignment(status_, Qt::Alignment());
    stack->addSpacing(12);
    stack->addLayout(buttons);

    auto* content = new QVBoxLayout(this);
    content->setContentsMargins(sideMargin, 0, sideMargin, 0);
    content->addStretch(1);
    content->addWidget(column_);
    content->addStretch(1);
}

void LauncherWindow::connectActions() {
    Launcher* launcher = launcher_.get();
    connect(play_, &QPushButton::clicked, this, [launcher] { launcher->startGame(); });
    connect(choose_, &QPushButton::clicked, this, [this] { chooseGame(); });
    connect(logs_, &QPushButton::clicked, this, [launcher] { launcher->showLogs(); });
    connect(skipVideos_, &QCheckBox::clicked, this, [launcher] { launcher->saveStartupVideoPreference(); });
    connect(windowed_, &QCheckBox::clicked, this, [launcher] { launcher->saveWindowPreference(); });
    connect(adaptiveTriggers_, &QCheckBox::clicked, this, [launcher] { launcher->saveAdaptiveTriggerPreference(); });

    // Return presses Play, whichever control has the focus; a disabled Play ignores it.
    auto* returnKey = new QShortcut(QKeySequence(Qt::Key_Return), this);
    connect(returnKey, &QShortcut::activated, play_, [this] { play_->click(); });
}

void LauncherWindow::startUp() {
    launcher_->applyStoredOptions();
    launcher_->loadLatestLog();
    launcher_->findGame();
}

void LauncherWindow::present() {
    if (const QScreen* screen = this->screen())
        setGeometry(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, size(),
                                        screen->availableGeometry()));
    show();
    raise();
    activateWindow();
}

void LauncherWindow::chooseGame() {
    if (panel_) return;  // one panel at a time
    panel_ = new ChooseGamePanel(this, QString::fromStdString(launcher_->chooseGameStartFolder()));
    std::weak_ptr<Launcher> weak = launcher_;
    ChooseGamePanel* panel = panel_;
    connect(panel, &QDialog::finished, this, [this, weak, panel](int result) {
        std::optional<std::string> chosen;
        if (!panel->chosenPath().isEmpty()) chosen = panel->chosenPath().toStdString();
        Launcher::chooseGameEnded(weak, result == QDialog::Accepted, chosen);
        panel_ = nullptr;
        panel->deleteLater();
    });
    panel->open();  // returns at once; the completion runs when the panel ends
}

}  // namespace vornik
