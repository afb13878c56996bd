// The launcher, measured: the window's start to its first paint on the
// offscreen platform, findGame over folders of a few hundred entries, and
// Play to the runtime host's first instruction with the development
// stand-in. A program that prints figures, not a test:
//   build/native/tests/launcher/bench/launcher_bench [runs]
// Each figure is the best of the runs (default 7), with the median beside it.

#include "bench_clock.h"
#include "find_game_timing.h"
#include "first_paint_timing.h"
#include "play_timing.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

using namespace vornik::bench;

namespace {

void line(const char* what, const Figures& f, double goal) {
    std::printf("%-66s %8.1f ms %8.1f ms   (goal under %.0f ms)\n", what, f.best, f.median, goal);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::strcmp(argv[1], "--first-paint-child") == 0)
        return firstPaintChild(argc, argv, std::atoll(argv[2]));
    int runs = argc > 1 ? std::atoi(argv[1]) : 7;
    if (runs < 1) runs = 1;

    std::printf("%-66s %11s %11s\n", "", "best", "median");

    std::vector<FirstPaintRun> paints = timeFirstPaint(argv[0], runs);
    std::vector<double> paint, main, application, window;
    for (const FirstPaintRun& r : paints) {
        paint.push_back(r.paint);
        main.push_back(r.main);
        application.push_back(r.application);
        window.push_back(r.window);
    }
    line("window: process started to first paint (offscreen)", figuresOf(paint), 300);
    std::printf("  of which: main reached %.1f ms, application object %.1f ms, window built %.1f ms (medians)\n",
                figuresOf(main).median, figuresOf(application).median, figuresOf(window).median);

    const int entries[] = {300, 600};
    const GamePlace places[] = {GamePlace::nowhere, GamePlace::identifierLookup, GamePlace::systemFolder};
    for (int count : entries)
        for (GamePlace place : places) {
            bool found = false;
            std::vector<double> times = timeFindGame(count, place, runs, found);
            char what[128];
            std::snprintf(what, sizeof what, "findGame, %d entries a folder, %s%s", count, describe(place),
                          (place == GamePlace::nowhere) == found ? " (WRONG OUTCOME)" : "");
            line(what, figuresOf(times), 50);
        }

    std::vector<PlayRun> plays = timePlay(runs);
    std::vector<double> launched, first;
    for (const PlayRun& r : plays) {
        launched.push_back(r.launched);
        first.push_back(r.firstOutput);
    }
    line("Play: pressed to the stand-in's first output in the log", figuresOf(first), 50);
    std::printf("  of which startGame itself (verify, new log, child started): %.1f ms (median)\n",
                figuresOf(launched).median);
    std::fflush(stdout);
    if (plays.size() != static_cast<size_t>(runs) || paints.size() != static_cast<size_t>(runs)) {
        std::printf("some runs failed\n");
        return 1;
    }
    return 0;
}
