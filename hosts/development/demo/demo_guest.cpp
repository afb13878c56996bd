// The demo guest program: what the development stand-in runs in the game's
// place. Ordinary C++98 as game code of the time writes it, compiled against
// the toolchain's headers in the old string ABI and linked to our guest
// libraries (through the Mach-O dylibs when the guest-macho tree is built),
// so that a launch from the launcher shows guest output in the session log.
//
// Every stretch of standard output ends with std::endl before standard error
// is written, so the log shows the lines in the order written; the last
// line of standard output is never flushed by the program: with standard
// output on a file, only the exit handlers' flush writes it.
//   VORNIK_DEMO_EXIT_STATUS=<n>   end with status n (default 0)
//   VORNIK_DEMO_SIGNAL=<n>        flush std::cout, then end by raising signal n
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <string>

int main() {
  std::cout << "Vornik demo guest: lap " << 3 << " of " << 5 << std::endl;
  std::printf("printf after an endl, lap time %d ms\n", 83125);
  std::cout << "best lap " << -42 << " s behind";
  std::printf(" [printf between stream writes] ");
  std::cout << "the leader" << '\n' << std::flush;

  const char* mode = std::getenv("TORVEL_VORNIK_WINDOW_MODE");
  std::string shown = mode ? mode : "(unset)";
  std::cout << "window mode " << shown << ", " << shown.size() << " characters" << std::endl;

  std::cerr << "cerr: " << 2 << " textures missing" << std::endl;
  std::clog << "clog: session " << 1207 << " started\n";
  std::cerr << "cerr and clog share the host's standard error\n";

  std::cout << "quitting: no flush, the exit handlers write this line\n";
  if (const char* signal = std::getenv("VORNIK_DEMO_SIGNAL")) {
    std::cout << std::flush;
    std::raise(std::atoi(signal));
  }
  const char* status = std::getenv("VORNIK_DEMO_EXIT_STATUS");
  return status ? std::atoi(status) : 0;
}
