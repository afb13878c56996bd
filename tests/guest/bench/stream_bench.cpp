// Formatted output through std::cout into a file, the way a game writes its
// logs: integers, doubles, strings ended by std::endl or by '\n', strings
// and characters inserted the way the game's own code does, and a mixed log
// line of short texts, integers and a string ended by '\n'. Built
// once against libtorvelios and libtorvelrt and once against the
// toolchain's own library (old string ABI); stream_compare.sh runs both with
// standard output redirected to a file. Prints, on standard error, the
// seconds of each phase. With a phase name as argument only that phase
// runs (for profiling one phase).
#include <cstdio>
#include <cstring>
#include <ctime>
#include <iostream>
#include <string>

namespace {

double now() {
  timespec t;
  clock_gettime(CLOCK_MONOTONIC, &t);
  return t.tv_sec + t.tv_nsec * 1e-9;
}

const int lines = 200000;

void integers() {
  for (int i = 0; i < lines; ++i) std::cout << i << ' ' << -i * 37 << ' ' << static_cast<unsigned>(i) * 2654435761u << '\n';
}

void doubles() {
  for (int i = 0; i < lines; ++i) std::cout << i * 0.25 << ' ' << 1.0 / (i + 1) << '\n';
}

void strings_endl() {
  const std::string name("player_vehicle");
  for (int i = 0; i < lines / 4; ++i) std::cout << name << " lap " << std::endl;
}

void strings_newline() {
  const std::string name("player_vehicle");
  for (int i = 0; i < lines; ++i) std::cout << name << " lap " << '\n';
}

// Characters as the game's own compiled code inserts them: its headers
// send every char through std::__ostream_insert(os, &c, 1), where today's
// headers call put() for an unpadded char.
void game_chars() {
  const std::string name("player_vehicle");
  const char separator = ':', space = ' ', newline = '\n';
  for (int i = 0; i < lines; ++i) {
    std::__ostream_insert(std::cout, name.data(), name.size());
    std::__ostream_insert(std::cout, &separator, 1);
    std::__ostream_insert(std::cout, &space, 1);
    std::__ostream_insert(std::cout, "lap", 3);
    std::__ostream_insert(std::cout, &newline, 1);
  }
}

// A game's log: a frame stamp, short literal texts, a few small integers
// and an event name per line.
void logging() {
  const std::string event("checkpoint");
  for (int i = 0; i < lines; ++i)
    std::cout << "[" << i / 60 << "] car " << i % 8 << ' ' << event << " t=" << i * 17 << "ms lap " << i / 5000
              << '\n';
}

const char* only = 0;

void run(const char* phase, void (*work)()) {
  if (only != 0 && std::strcmp(only, phase) != 0) return;
  double start = now();
  work();
  std::cout.flush();
  std::fprintf(stderr, "%s %.5f\n", phase, now() - start);
}

}

int main(int argc, char** argv) {
  if (argc > 1) only = argv[1];
  run("integers", integers);
  run("doubles", doubles);
  run("strings+endl", strings_endl);
  run("strings+newline", strings_newline);
  run("game-chars", game_chars);
  run("logging", logging);
  return 0;
}
