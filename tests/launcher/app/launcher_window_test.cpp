// The window on the offscreen platform, with the preferences and the home
// folder in temporary folders and the development stand-in as runtime host.
#include "bundle_identifiers.h"
#include "choose_game_panel.h"
#include "elided_label.h"
#include "fixed_locations.h"
#include "fixture_bundles.h"
#include "launcher_window.h"
#include "launcher_world.h"
#include "platform_doubles.h"
#include "plist_preferences.h"
#include "posix_files.h"
#include "posix_processes.h"
#include "posix_services.h"
#include "preference_keys.h"
#include "qt_main_thread.h"
#include "run_program.h"
#include "scoped_variable.h"
#include "status_label.h"
#include "system_services.h"

#include <QAccessible>
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QToolTip>
#include <QtTest>

#include <filesystem>
#include <functional>
#include <optional>

using namespace vornik;
using namespace vornik::testing;

class LauncherWindowTest : public QObject {
    Q_OBJECT

private:
    // One launcher world per test: temporary home, applications folder,
    // launcher bundle with the stand-in, and the user's preferences of that
    // home as the program finds them.
    struct Setup {
        LauncherWorld world;
        const std::string settingsFile = preferencesFileIn(world.home);

        Setup() { world.installRuntime(); }
        std::unique_ptr<LauncherWindow> window() {
            Services services = world.services;
            services.mainThread = std::make_shared<QtMainThread>();
            auto window = std::make_unique<LauncherWindow>(services);
            window->startUp();
            window->present();
            if (!QTest::qWaitForWindowActive(window.get())) qWarning("window did not become active");
            return window;
        }
        // The keys in the preferences file, and what one of them reads as.
        QStringList storedKeys() {
            QStringList keys;
            const std::string data = readFile(settingsFile);  // "" before the first change
            PlistTree tree = parsePropertyList(data, data.size());
            if (!tree) return keys;
            plist_dict_iter iterator = nullptr;
            plist_dict_new_iter(tree.get(), &iterator);
            for (;;) {
                char* key = nullptr;
                plist_t value = nullptr;
                plist_dict_next_item(tree.get(), iterator, &key, &value);
                if (!key) break;
                keys.append(QString::fromUtf8(key));
                std::free(key);
            }
            std::free(iterator);
            keys.sort();
            return keys;
        }
        bool stored(const char* key) { return PlistPreferences(settingsFile).boolForKey(key); }
    };

    // What the label shows, as assistive technology reads it out.
    static QString shownText(QWidget* label) {
        return QAccessible::queryAccessibleInterface(label)->text(QAccessible::Name);
    }

    static bool runControlsEnabled(LauncherWindow& w) {
        return w.playButton()->isEnabled() && w.chooseButton()->isEnabled() &&
               w.skipVideosBox()->isEnabled() && w.windowedBox()->isEnabled() &&
               w.adaptiveTriggersBox()->isEnabled();
    }
    static bool runControlsDisabled(LauncherWindow& w) {
        return !w.playButton()->isEnabled() && !w.chooseButton()->isEnabled() &&
               !w.skipVideosBox()->isEnabled() && !w.windowedBox()->isEnabled() &&
               !w.adaptiveTriggersBox()->isEnabled();
    }

private slots:
    void firstStartShowsTheHintWithPlayAndShowLogsDisabled() {
        Setup setup;
        auto window = setup.window();
        QCOMPARE(window->windowTitle(), QString("Vornik Launcher"));
        QCOMPARE(window->size(), QSize(500, 305));
        QCOMPARE(window->minimumSize(), window->maximumSize());
        QCOMPARE(window->pathLabel()->fullText(), QString("No supported copy selected"));
        QCOMPARE(window->statusLabel()->text(), QString("Choose the Vornik application you downloaded."));
        QVERIFY(!window->playButton()->isEnabled());
        QVERIFY(!window->logsButton()->isEnabled());
        QVERIFY(window->chooseButton()->isEnabled());
        QCOMPARE(window->chooseButton()->text(), QString::fromUtf8("Choose Game\u2026"));
        QVERIFY(window->skipVideosBox()->isEnabled() && window->windowedBox()->isEnabled() &&
                window->adaptiveTriggersBox()->isEnabled());
        QVERIFY(window->skipVideosBox()->isChecked());
        QVERIFY(!window->windowedBox()->isChecked());
        QVERIFY(!window->adaptiveTriggersBox()->isChecked());
        QVERIFY(setup.storedKeys().isEmpty());  // the default is registered, not stored
    }

    void theWindowIsCentredOnItsScreen() {
        Setup setup;
        auto window = setup.window();
        const QPoint middle = window->screen()->availableGeometry().center();
        QVERIFY2((window->geometry().center() - middle).manhattanLength() <= 1,
                 qPrintable(QString("window centre %1,%2, screen centre %3,%4")
                                .arg(window->geometry().center().x()).arg(window->geometry().center().y())
                                .arg(middle.x()).arg(middle.y())));
    }

    void eachToggleStoresItsOwnKeyAndASecondLauncherReadsThemBack() {
        Setup setup;
        {
            auto window = setup.window();
            QTest::mouseClick(window->windowedBox(), Qt::LeftButton);
            QCOMPARE(setup.storedKeys(), QStringList{"runInWindow"});
            QCOMPARE(setup.stored("runInWindow"), true);
            QTest::mouseClick(window->skipVideosBox(), Qt::LeftButton);
            QVERIFY(setup.storedKeys().contains("skipStartupVideos"));
            QCOMPARE(setup.stored("skipStartupVideos"), false);
            QVERIFY(!setup.storedKeys().contains("adaptiveTriggers"));
        }
        auto second = setup.window();
        QVERIFY(!second->skipVideosBox()->isChecked());
        QVERIFY(second->windowedBox()->isChecked());
        QVERIFY(!second->adaptiveTriggersBox()->isChecked());
    }

    void returnPlaysAFoundGameAndTheControlsFollowTheRun() {
        Setup setup;
        writeBundle(setup.world.applications + "/" + gameFileName, validGame());
        const std::string hold = setup.world.root / "hold";
        writeFile(hold, "");
        std::optional<ScopedVariable> holding(std::in_place, "TORVEL_STAND_IN_HOLD_FILE", hold);
        auto window = setup.window();
        QCOMPARE(window->statusLabel()->text(), QString("Ready to play"));
        QVERIFY(window->playButton()->isEnabled());

        QTest::keyClick(window.get(), Qt::Key_Return);
        holding.reset();
        QCOMPARE(window->statusLabel()->text(), QString("Vornik is running."));
        QVERIFY(window->launcher().isRunning());
        QVERIFY(runControlsDisabled(*window));
        QVERIFY(window->logsButton()->isEnabled());

        QTest::keyClick(window.get(), Qt::Key_Return);  // a disabled Play ignores Return
        QCOMPARE(setup.world.logFiles().size(), std::size_t(1));

        std::filesystem::remove(hold);
        QTRY_COMPARE_WITH_TIMEOUT(window->statusLabel()->text(), QString("Ready to play"), 20000);
        QVERIFY(runControlsEnabled(*window));
        QVERIFY(window->logsButton()->isEnabled());

        QTest::mouseClick(window->playButton(), Qt::LeftButton);  // a click does the same
        QCOMPARE(window->statusLabel()->text(), QString("Vornik is running."));
        QTRY_COMPARE_WITH_TIMEOUT(window->statusLabel()->text(), QString("Ready to play"), 20000);
        QCOMPARE(setup.world.logFiles().size(), std::size_t(2));
    }

    void aLongPathIsShortenedInTheMiddleWithTheWholePathAsToolTip() {
        Setup setup;
        const std::string folder = setup.world.root / (std::string(120, 'x') + "/deeper");
        const std::string game = writeBundle(folder + "/" + gameFileName, validGame());
        setup.world.services.preferences->setString(gamePathKey, game);
        auto window = setup.window();

        const QString full = QString::fromStdString(game);
        QCOMPARE(window->pathLabel()->fullText(), full);
        QCOMPARE(window->pathLabel()->toolTip(), full);
        const QString shown = window->pathLabel()->text();
        QVERIFY(shown != full);
        QVERIFY(shown.contains(QChar(0x2026)));
        QVERIFY(shown.startsWith(full.left(5)));
        QVERIFY(shown.endsWith(".app"));
        QCOMPARE(window->pathLabel()->width(), window->column()->width());
        QVERIFY(window->pathLabel()->fontMetrics().horizontalAdvance(shown) <= window->pathLabel()->width());
    }

    void pathsAndErrorsAreShownAsWrittenNotAsMarkup() {
        Setup setup;
        const std::string game = writeBundle(setup.world.root / "<b>G</b>&lt;/Vornik.app", validGame());
        PlistPreferences(setup.settingsFile).setString(gamePathKey, game);
        // A home folder whose name looks like markup, with a file where the Library folder belongs.
        const std::string home = setup.world.root / "<i>home</i>";
        writeFile(home + "/Library", "not a folder");
        setup.world.services.files =
            std::make_shared<PosixFiles>(FolderOverrides{home, setup.world.applications});
        auto window = setup.window();

        const QString full = QString::fromStdString(game);
        QCOMPARE(window->pathLabel()->fullText(), full);
        QCOMPARE(shownText(window->pathLabel()), full);
        QToolTip::showText(QPoint(0, 0), window->pathLabel()->toolTip(), window->pathLabel());
        QWidget* tip = nullptr;
        for (QWidget* widget : QApplication::topLevelWidgets())
            if (widget->objectName() == "qtooltip_label" && widget->isVisible()) tip = widget;
        QVERIFY(tip);
        QCOMPARE(shownText(tip), full);
        QToolTip::hideText();

        QTest::mouseClick(window->playButton(), Qt::LeftButton);
        const QString status = window->statusLabel()->text();
        QVERIFY2(status.contains("<i>home</i>/Library"), qPrintable(status));
        QCOMPARE(shownText(window->statusLabel()), status);
    }

    void aLongStatusWrapsWithinThreeLinesOfTheColumn() {
        Setup setup;
        auto window = setup.window();
        QLabel* status = window->statusLabel();
        QString text;
        for (int i = 0; i < 30; ++i) text += "The compatibility runtime reported a long failure. ";
        status->setText(text);
        const int line = status->fontMetrics().lineSpacing();
        QTRY_VERIFY(status->height() > 2 * line);  // it wraps, once the layout has run
        QVERIFY(status->height() <= 3 * line);  // to three lines at most
        QVERIFY(status->heightForWidth(status->width()) > 3 * line);  // though the text wants more
        QCOMPARE(status->width(), window->column()->width());
        QCOMPARE(window->column()->width(), 500 - 2 * 24);
    }

    // A folder's name may hold line breaks and other control characters; the
    // path label still takes one line, so nothing below it moves.
    void aPathWithLineBreaksStaysOneLineCutInTheMiddle() {
        struct Case {
            const char* name;
            std::string folder;
            bool cut;
        };
        const Case cases[] = {
            {"a line feed", "Line\nFeed", false},
            {"a paragraph separator, a tab and a vertical tab", "Para\u2029graph\tand\vmore", false},
            {"a carriage return and a line separator in a long path",
             std::string(60, 'x') + "\r" + std::string(60, 'y') + "\u2028" + std::string(60, 'z'), true},
        };
        for (const Case& c : cases) {
            Setup setup;
            auto window = setup.window();
            ElidedLabel* path = window->pathLabel();
            const int oneLine = path->height();
            const int below = window->skipVideosBox()->y();
            const std::string game = writeBundle(setup.world.root / (c.folder + "/Vornik.app"), validGame());
            window->launcher().select(game);
            QCoreApplication::sendPostedEvents();  // any layout the new text asks for
            QApplication::processEvents();

            const QString full = QString::fromStdString(game);
            QCOMPARE(path->fullText(), full);
            QCOMPARE(path->toolTip(), full);
            const QString shown = path->text();
            for (QChar character : shown) {
                const char16_t code = character.unicode();
                QVERIFY2(code >= 0x20 && code != 0x7F && code != 0x85 && code != 0x2028 && code != 0x2029,
                         qPrintable(QString("%1: U+%2 shown").arg(c.name).arg(int(code), 4, 16, QChar('0'))));
            }
            QVERIFY2(path->height() == oneLine && path->sizeHint().height() == oneLine, c.name);
            QVERIFY2(window->skipVideosBox()->y() == below, c.name);
            QVERIFY2(path->fontMetrics().horizontalAdvance(shown) <= path->width(), c.name);
            QVERIFY2(shown.endsWith("Vornik.app"), c.name);
            QVERIFY2(shown.contains(QChar(0x2026)) == c.cut, c.name);
            if (!c.cut) QVERIFY2(shown.contains(QChar(0x240A)) || shown.contains(QChar(0x2424)), c.name);
        }
    }

    // An error whose cause comes last keeps the three lines, and its whole
    // text stays within reach: the tool tip and the selectable label hold it.
    void aLongStatusKeepsThreeLinesAndTheWholeTextWithinReach() {
        Setup setup;
        const std::string game = writeBundle(setup.world.applications + "/" + gameFileName, validGame());
        const std::string home =
            setup.world.root / (std::string(100, 'h') + "/" + std::string(100, 'o') + "/" + std::string(100, 'm'));
        writeFile(home + "/Library", "not a folder");
        setup.world.services.files =
            std::make_shared<PosixFiles>(FolderOverrides{home, setup.world.applications});
        auto window = setup.window();
        StatusLabel* status = window->statusLabel();
        QCOMPARE(status->text(), QString("Ready to play"));
        QVERIFY(status->toolTip().isEmpty());

        QTest::mouseClick(window->playButton(), Qt::LeftButton);
        const QString whole = status->text();
        QVERIFY2(whole.endsWith(": Not a directory"), qPrintable(whole));
        const int line = status->fontMetrics().lineSpacing();
        QTRY_VERIFY(status->height() > 2 * line);
        QVERIFY(status->height() <= 3 * line);
        QVERIFY(status->heightForWidth(status->width()) > 3 * line);  // the cause is not in sight
        QVERIFY(status->isCut());
        QCOMPARE(status->toolTip(), whole);
        QVERIFY(status->textInteractionFlags().testFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard));
        status->setSelection(0, int(whole.size()));
        QCOMPARE(status->selectedText(), whole);

        window->launcher().select(game);  // a short text again
        QCOMPARE(status->text(), QString("Ready to play"));
        QVERIFY(status->toolTip().isEmpty());
    }

    // The status lines the tests above do not reach, each in a situation
    // that shows it, read off the window exactly as the user reads them.
    void eachOutcomeOfPlayReadsAsWritten() {
        struct Case {
            const char* situation;
            std::function<void(Setup&)> arrange;  // before the window starts
            QString adopted;  // the status once the game is found
            QString shown;    // the status once Play is over and no child runs
        };
        std::unique_ptr<RunningBundle> running;  // an application left running for one case
        std::optional<ScopedVariable> ending;    // the stand-in's way of ending, for one case
        const auto endWith = [&ending](const char* variable, const char* value) {
            return [&ending, variable, value](Setup&) { ending.emplace(variable, value); };
        };
        const QString ready("Ready to play");
        const Case cases[] = {
            {"another session runs",
             [&](Setup& s) {
                 running = std::make_unique<RunningBundle>(s.world.root / "Other/Torvel.app", runtimeIdentifier);
             },
             ready, "A compatibility session is already running."},
            {"the Steam edition without Steam",
             [](Setup& s) {
                 BundleContents steam = validGame();
                 steam.steamMarker = true;
                 writeBundle(s.world.applications + "/" + gameFileName, steam);
             },
             "Steam edition. Keep Steam open while playing.", "Open Steam and sign in, then click Play again."},
            {"no runtime host",
             [](Setup& s) { std::filesystem::remove(s.world.launcherBundle + "/" + runtimeExecutablePath); },
             ready, "The compatibility runtime is missing. Replace this launcher with a complete copy."},
            {"a file at the new log's name",
             [](Setup& s) {
                 s.world.services.files = std::make_shared<RepeatingUuidFiles>(
                     FolderOverrides{s.world.home, s.world.applications});
                 writeFile(s.world.logsFolder() + "/" + RepeatingUuidFiles::uuid + ".log", "");
             },
             ready, "The launcher could not create its session log."},
            {"no Rosetta",
             [](Setup& s) {
                 s.world.services.processes = std::make_shared<RefusingProcesses>(LaunchFailure::posix(86));
             },
             ready, "Rosetta is required to run the compatibility runtime."},
            {"no profile matched", endWith("TORVEL_STAND_IN_EXIT_STATUS", "78"), ready,
             "No compatibility profile matched this Vornik build. See the session log."},
            {"a failure status", endWith("TORVEL_STAND_IN_EXIT_STATUS", "1"), ready,
             "Vornik exited with status 1. See the session log."},
            {"a signal", endWith("TORVEL_STAND_IN_SIGNAL", "9"), ready,
             "Vornik stopped on signal 9. See the session log."},
        };
        for (const Case& c : cases) {
            // Each case starts from an ordinary ending; a failed one leaves
            // the function, which puts the variable back too.
            ending.reset();
            Setup setup;
            writeBundle(setup.world.applications + "/" + gameFileName, validGame());
            c.arrange(setup);
            auto window = setup.window();
            const auto status = [&] {
                return QString("%1: \"%2\"").arg(c.situation, window->statusLabel()->text());
            };
            QVERIFY2(window->statusLabel()->text() == c.adopted, qPrintable(status()));
            QTest::mouseClick(window->playButton(), Qt::LeftButton);
            QTRY_VERIFY_WITH_TIMEOUT(!window->launcher().isRunning(), 20000);
            QVERIFY2(window->statusLabel()->text() == c.shown, qPrintable(status()));
            running.reset();
        }
    }

    void theChoosePanelTakesOnlyABundleAndAWrongOneKeepsTheGame() {
        Setup setup;
        const std::string first = writeBundle(setup.world.root / "Games/First.app", validGame());
        BundleContents intel64 = validGame();
        intel64.executable = thinExecutable(cpuX86_64, true);
        const std::string wrong = writeBundle(setup.world.root / "Games/Wrong.app", intel64);
        makeFolders(setup.world.root / "Games/Plain Folder");
        auto window = setup.window();

        auto choose = [&](const std::string& path) {
            QTest::mouseClick(window->chooseButton(), Qt::LeftButton);
            ChooseGamePanel* panel = window->openPanel();
            QVERIFY(panel);
            QCOMPARE(panel->windowModality(), Qt::WindowModal);
            QCOMPARE(panel->windowTitle(), QString("Choose Vornik Complete Edition"));
            panel->selectFile(QString::fromStdString(path));
            panel->accept();
        };

        choose(setup.world.root / "Games/Plain Folder");  // entered, not chosen
        QVERIFY(window->openPanel());
        QCOMPARE(QDir(window->openPanel()->directory()).absolutePath(),
                 QString::fromStdString(setup.world.root / "Games/Plain Folder"));
        window->openPanel()->reject();
        QTRY_VERIFY(!window->openPanel());
        QVERIFY(!window->launcher().game());

        choose(first);
        QTRY_VERIFY(!window->openPanel());
        QCOMPARE(window->launcher().game(), std::optional<std::string>(first));
        QCOMPARE(window->statusLabel()->text(), QString("Ready to play"));
        QVERIFY(window->playButton()->isEnabled());

        choose(wrong);
        QTRY_VERIFY(!window->openPanel());
        QCOMPARE(window->launcher().game(), std::optional<std::string>(first));
        QCOMPARE(window->statusLabel()->text(),
                 QString("Choose the 32-bit Vornik Complete Edition Mac application (.app)."));
        QVERIFY(window->playButton()->isEnabled());
        QCOMPARE(window->pathLabel()->fullText(), QString::fromStdString(first));
    }

    // The command line plays the game chosen in the window with the window's
    // options, and a window sees what the command line stored; neither drops
    // a key of another program.
    void theWindowAndTheCommandLineShareOnePreferenceStore() {
        Setup setup;
        PlistPreferences(setup.settingsFile).setString("anotherProgramsKey", "kept");
        const std::string first = writeBundle(setup.world.root / "Games/First.app", validGame());
        {
            auto window = setup.window();
            QTest::mouseClick(window->chooseButton(), Qt::LeftButton);
            QVERIFY(window->openPanel());
            window->openPanel()->selectFile(QString::fromStdString(first));
            window->openPanel()->accept();
            QTRY_VERIFY(!window->openPanel());
            QCOMPARE(window->launcher().game(), std::optional<std::string>(first));
            QTest::mouseClick(window->windowedBox(), Qt::LeftButton);
            QTest::mouseClick(window->skipVideosBox(), Qt::LeftButton);
            QTest::mouseClick(window->adaptiveTriggersBox(), Qt::LeftButton);
        }

        ProgramRun played = runCommandLine(setup.world.home, {"play"});
        QVERIFY2(played.exitStatus == 0, played.output.c_str());
        QCOMPARE(printedValue(played.output, "game"), first);
        const std::string log = readFile(printedValue(played.output, "log"));
        for (const char* line : {"TORVEL_VORNIK_WINDOW_MODE=windowed\n", "TORVEL_VORNIK_SKIP_STARTUP_VIDEOS=0\n",
                                 "TORVEL_VORNIK_ADAPTIVE_TRIGGERS=1\n"})
            QVERIFY2(log.find(line) != std::string::npos, log.c_str());

        const std::string second = writeBundle(setup.world.root / "Games/Second.app", validGame());
        played = runCommandLine(setup.world.home, {"play", second});
        QVERIFY2(played.exitStatus == 0, played.output.c_str());
        auto window = setup.window();
        QCOMPARE(window->pathLabel()->fullText(), QString::fromStdString(second));
        QVERIFY(window->windowedBox()->isChecked());
        QVERIFY(!window->skipVideosBox()->isChecked());
        QVERIFY(window->adaptiveTriggersBox()->isChecked());
        QCOMPARE(PlistPreferences(setup.settingsFile).stringForKey("anotherProgramsKey"),
                 std::optional<std::string>("kept"));
    }
};

QTEST_MAIN(LauncherWindowTest)
#include "launcher_window_test.moc"
