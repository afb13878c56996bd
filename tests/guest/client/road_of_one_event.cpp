// The road of one event as game code of the time writes it: text, numbers
// and std::endl to std::cout, the C library's printf in between, the error
// and log streams, and a line and a character from std::cin. Built against
// the toolchain's headers in the old string ABI; its standard output and
// standard error are compared byte for byte.
#include <cstdio>
#include <iostream>

int main() {
  std::cout << "Vornik starting, build " << 1207 << std::endl;
  std::printf("printf between stream writes\n");
  std::cout << "after printf: " << -42 << ' ' << 3.5 << std::endl;

  // Unflushed stream output followed by printf: both go to the same host
  // FILE, so they come out in call order.
  std::cout << "a";
  std::printf("b");
  std::cout << "c" << '\n';

  std::ios_base::sync_with_stdio(false);
  std::cout << "x";
  std::printf("y");
  std::cout << "z\n";

  std::cerr << "warning: " << 7 << " textures missing" << std::endl;
  std::clog << "log: level " << 2 << '\n';
  std::cerr << "error and log share the host's standard error\n";

  char line[64];
  std::cin.getline(line, sizeof line);
  std::cout << "read line [" << line << "] of " << std::cin.gcount() << " characters" << std::endl;
  int c = std::cin.get();
  std::cout << "next character " << c << ", then " << std::cin.peek() << std::endl;

  std::cout.width(8);
  std::cout.fill('.');
  std::cout << std::hex << std::showbase << std::internal << 255 << std::dec << std::endl;
  std::cout << "bool " << std::boolalpha << true << ", pointer " << static_cast<const void*>(0) << std::endl;

  // No endl: the exit flush delivers the rest.
  std::cout << "quitting";
  std::clog << "clog at exit";
  return 0;
}
