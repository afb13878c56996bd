// Reading std::cin as game code of the time does: numbers of several types
// and bases, words into strings and character arrays (with and without a
// width), whole lines, lines cut at another delimiter, std::ws, both bool
// forms, and values out of range with the state they leave. Built against
// the toolchain's headers in the old string ABI; its standard output is
// compared byte for byte.
#include <iostream>
#include <string>

static void show_state(const char* what) {
  std::cout << what << ": good " << std::cin.good() << " eof " << std::cin.eof() << " fail " << std::cin.fail()
            << " bad " << std::cin.bad() << '\n';
}

int main() {
  int a = 0, b = 0;
  double d = 0;
  float f = 0;
  std::cin >> a >> b >> d >> f;
  std::cout << "numbers " << a << ' ' << b << ' ' << d << ' ' << f << '\n';

  int h = 0, o = 0, x = 0;
  std::cin >> std::hex >> h >> std::oct >> o >> std::hex >> x >> std::dec;
  std::cout << "bases " << h << ' ' << o << ' ' << x << '\n';

  std::string word;
  char text[16];
  char small[16];
  std::cin >> word >> text;
  std::cin.width(4);
  std::cin >> small;
  std::cout << "words [" << word << "] [" << text << "] [" << small << "], width now " << std::cin.width() << '\n';
  std::string rest;
  std::getline(std::cin, rest);
  std::cout << "rest of the line [" << rest << "]\n";

  std::string line;
  std::getline(std::cin >> std::ws, line);
  std::cout << "line [" << line << "]\n";

  bool t = false, fa = true, one = false, zero = true;
  std::cin >> std::boolalpha >> t >> fa >> std::noboolalpha >> one >> zero;
  std::cout << std::boolalpha << "bools " << t << ' ' << fa << ' ' << one << ' ' << zero << std::noboolalpha << '\n';

  short s = 5;
  std::cin >> s;
  std::cout << "short " << s << '\n';
  show_state("after 65536 into a short");
  std::cin.clear();
  unsigned int u = 0;
  std::cin >> u;
  std::cout << "unsigned " << u << '\n';
  int big = 6;
  std::cin >> big;
  std::cout << "int " << big << '\n';
  show_state("after 99999999999 into an int");
  std::cin.clear();
  long long ll = 0;
  std::cin >> ll;
  std::cout << "long long " << ll << '\n';

  std::string first, second, third;
  std::cin >> std::ws;
  std::getline(std::cin, first, ';');
  std::getline(std::cin, second, ';');
  std::getline(std::cin, third);
  std::cout << "pieces [" << first << "] [" << second << "] [" << third << "]\n";

  char c = '?';
  std::cin >> c;
  std::getline(std::cin, rest);
  std::cout << "char " << c << ", then [" << rest << "]\n";
  show_state("at the end");
  std::cin >> a;
  std::cout << "a still " << a << '\n';
  show_state("after reading past the end");
  return 0;
}
