#pragma once
// The launcher's single window: one fixed 500 × 305 column with the title,
// the subtitle, the game's path, the three options, the hint, the status line
// and the button row. It builds the controls, binds them to the launch logic
// and starts the logic up; it holds no launch logic of its own.

#include "launcher.h"
#include "services.h"

#include <QWidget>
#include <memory>

class QCheckBox;
class QLabel;
class QPushButton;

namespace vornik {

class ElidedLabel;
class ChooseGamePanel;
class StatusLabel;

class LauncherWindow : public QWidget {
    Q_OBJECT
public:
    explicit LauncherWindow(Services services, QWidget* parent = nullptr);
    ~LauncherWindow() override;

    // Registers the defaults, reads the options, finds the latest log and the game.
    void startUp();

    // Centres the window on its screen, shows it in front and makes it the key window.
    void present();

    Launcher& launcher() { return *launcher_; }

    // The controls, for the program's screenshot and for tests.
    ElidedLabel* pathLabel() const { return path_; }
    StatusLabel* statusLabel() const { return status_; }
    QPushButton* playButton() const { return play_; }
    QPushButton* chooseButton() const { return choose_; }
    QPushButton* logsButton() const { return logs_; }
    QCheckBox* skipVideosBox() const { return skipVideos_; }
    QCheckBox* windowedBox() const { return windowed_; }
    QCheckBox* adaptiveTriggersBox() const { return adaptiveTriggers_; }
    QWidget* column() const { return column_; }
    ChooseGamePanel* openPanel() const { return panel_; }

    static constexpr int windowWidth = 500;
    static constexpr int windowHeight = 305;
    static constexpr int sideMargin = 24;
    static constexpr int statusLines = 3;

private:
    void buildControls();
    void buildLayout();
    void connectActions();
    void chooseGame();

    ElidedLabel* path_;
    StatusLabel* status_;
    QPushButton* play_;
    QPushButton* choose_;
    QPushButton* logs_;
    QCheckBox* skipVideos_;
    QCheckBox* windowed_;
    QCheckBox* adaptiveTriggers_;
    QLabel* title_;
    QLabel* subtitle_;
    QLabel* hint_;
    QWidget* column_ = nullptr;
    ChooseGamePanel* panel_ = nullptr;

    struct Bindings;
    std::unique_ptr<Bindings> bindings_;
    std::shared_ptr<Launcher> launcher_;
};

}  // namespace vornik
