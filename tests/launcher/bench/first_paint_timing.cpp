#include "first_paint_timing.h"

#include "bench_clock.h"
#include "launcher_window.h"
#include "posix_services.h"
#include "qt_main_thread.h"
#include "temporary_folder.h"

#include <QApplication>
#include <QEvent>
#include <QTimer>

#include <cstdio>
#include <fcntl.h>
#include <cstdlib>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace vornik::bench {

namespace {

using Clock = std::chrono::steady_clock;

double millisecondsAfter(long long startNanoseconds) {
    long long now = std::chrono::duration_cast<std::chrono::nanoseconds>(Clock::now().time_since_epoch()).count();
    return (now - startNanoseconds) / 1e6;
}

// Notes the first paint of the watched widget and ends the event loop.
class FirstPaint : public QObject {
public:
    FirstPaint(QWidget* window, long long start) : window_(window), start_(start) {}
    double milliseconds = -1;

protected:
    bool eventFilter(QObject* object, QEvent* event) override {
        if (object == window_ && event->type() == QEvent::Paint && milliseconds < 0) {
            milliseconds = millisecondsAfter(start_);
            QTimer::singleShot(0, qApp, &QCoreApplication::quit);
        }
        return false;
    }

private:
    QWidget* window_;
    long long start_;
};

}  // namespace

int firstPaintChild(int argc, char** argv, long long start) {
    const double mainReached = millisecondsAfter(start);
    // A home of its own, so that the user's preferences stay untouched.
    testing::TemporaryFolder root;
    std::string home = root / "home";
    std::string applications = root / "Applications";
    testing::makeFolders(home);
    testing::makeFolders(applications);
    ::setenv("HOME", home.c_str(), 1);
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);

    QApplication application(argc, argv);
    const double applicationReady = millisecondsAfter(start);

    // The preferences are the user's store, which lies in the temporary home.
    LauncherWindow window(
        makePosixServices(std::make_shared<QtMainThread>(), nullptr, FolderOverrides{home, applications}));
    window.startUp();
    const double windowBuilt = millisecondsAfter(start);

    FirstPaint watch(&window, start);
    window.installEventFilter(&watch);
    window.present();
    QTimer::singleShot(10000, &application, &QCoreApplication::quit);
    application.exec();
    std::printf("%.3f %.3f %.3f %.3f\n", watch.milliseconds, mainReached, applicationReady, windowBuilt);
    return watch.milliseconds >= 0 ? 0 : 1;
}

std::vector<FirstPaintRun> timeFirstPaint(const char* self, int runs) {
    std::vector<FirstPaintRun> figures;
    for (int run = 0; run < runs; ++run) {
        int channel[2];
        if (::pipe(channel) != 0) break;
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, channel[1], 1);
        posix_spawn_file_actions_addclose(&actions, channel[0]);
        // Qt's notes about the offscreen platform are of no interest here.
        posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
        long long start =
            std::chrono::duration_cast<std::chrono::nanoseconds>(Clock::now().time_since_epoch()).count();
        std::string startText = std::to_string(start);
        const char* arguments[] = {self, "--first-paint-child", startText.c_str(), nullptr};
        pid_t pid = 0;
        int error = posix_spawn(&pid, self, &actions, nullptr, const_cast<char**>(arguments), environ);
        posix_spawn_file_actions_destroy(&actions);
        ::close(channel[1]);
        FirstPaintRun r;
        int read = 0;
        if (error == 0) {
            FILE* output = ::fdopen(channel[0], "r");
            read = std::fscanf(output, "%lf %lf %lf %lf", &r.paint, &r.main, &r.application, &r.window);
            std::fclose(output);
            int status = 0;
            ::waitpid(pid, &status, 0);
            if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) read = 0;
        } else {
            ::close(channel[0]);
        }
        if (read == 4 && r.paint >= 0) figures.push_back(r);
        else std::printf("  run %d: the window was not painted\n", run + 1);
    }
    return figures;
}

}  // namespace vornik::bench
