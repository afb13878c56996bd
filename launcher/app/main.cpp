// Program entry of the Vornik Launcher: the application object, the window,
// the launch logic on the real services, and the event loop.
//
//   VornikLauncher                       open the window
//   VornikLauncher --screenshot out.png  build the window as at start-up, write
//                                        its picture as PNG and quit (works
//                                        without a display)

#include "launcher_window.h"
#include "posix_services.h"
#include "qt_main_thread.h"
#include "qt_message_filter.h"

#include <QApplication>
#include <QPixmap>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

bool hasDisplay() {
    auto set = [](const char* name) {
        const char* value = std::getenv(name);
        return value && *value;
    };
    return set("DISPLAY") || set("WAYLAND_DISPLAY") || set("QT_QPA_PLATFORM");
}

}  // namespace

int main(int argc, char** argv) {
    const char* screenshot = nullptr;
    for (int i = 1; i + 1 < argc; ++i)
        if (std::strcmp(argv[i], "--screenshot") == 0) screenshot = argv[i + 1];

    vornik::installQtMessageFilter();
#if !defined(Q_OS_MACOS) && !defined(Q_OS_WIN)
    if (!hasDisplay()) {
        if (!screenshot) {
            std::fprintf(stderr,
                         "VornikLauncher: no display ($DISPLAY and $WAYLAND_DISPLAY are unset).\n"
                         "To see the window on a virtual display:   xvfb-run -a %s\n"
                         "To write a picture of the window instead: %s --screenshot launcher.png\n",
                         argv[0], argv[0]);
            return 1;
        }
        // A picture needs no screen.
        ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    }
#endif

    QApplication application(argc, argv);
    // No application display name: on X11 Qt would append it to every window
    // title, and the Choose Game… panel's title must read exactly as given.
    QApplication::setQuitOnLastWindowClosed(true);

    // The user's preferences, the same store as the command-line front end's.
    vornik::LauncherWindow window(vornik::makePosixServices(std::make_shared<vornik::QtMainThread>()));
    window.startUp();

    if (screenshot) {
        window.show();
        QApplication::processEvents();
        if (!window.grab().save(QString::fromLocal8Bit(screenshot), "PNG")) {
            std::fprintf(stderr, "VornikLauncher: could not write %s\n", screenshot);
            return 1;
        }
        std::printf("VornikLauncher: wrote %s\n", screenshot);
        return 0;
    }

    window.present();
    return application.exec();
}
