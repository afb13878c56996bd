#pragma once
// The window's start: a fresh launcher process on the offscreen platform,
// from the moment it is started to the first paint of its window.

#include <vector>

namespace vornik::bench {

// The child's side: `startNanoseconds` is the monotonic clock at the moment
// the parent started this process. Builds the application object and the
// window as the program does, shows the window and prints, in milliseconds
// since that moment, the first paint of the window, the start of main, the
// application object and the window built and started up.
int firstPaintChild(int argc, char** argv, long long startNanoseconds);

struct FirstPaintRun {
    double paint = -1;      // the figure: process started to first paint
    double main = 0;        // to the start of main (loading the program and Qt)
    double application = 0; // to the application object
    double window = 0;      // to the window built and started up
};

// Starts this program again as the child `runs` times.
std::vector<FirstPaintRun> timeFirstPaint(const char* self, int runs);

}  // namespace vornik::bench
