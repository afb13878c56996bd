// String streams as a game uses them: short labels formatted in a fresh
// std::ostringstream each time, and a settings text of a few thousand lines
// parsed with std::getline, one std::istringstream per line and >>. Built
// once against libtorvelios and libtorvelrt and once against the
// toolchain's own library (old string ABI). Prints a checksum of each
// phase's results on standard output (the two builds must agree) and the
// seconds of each phase on standard error.
#include <cstdio>
#include <ctime>
#include <iomanip>
#include <sstream>
#include <string>

namespace {

double now() {
  timespec t;
  clock_gettime(CLOCK_MONOTONIC, &t);
  return t.tv_sec + t.tv_nsec * 1e-9;
}

unsigned long mix(unsigned long sum, const std::string& s) {
  for (std::string::size_type i = 0; i < s.size(); ++i) sum = sum * 31 + static_cast<unsigned char>(s[i]);
  return sum;
}

const int label_count = 60000;

unsigned long labels() {
  unsigned long sum = 0;
  for (int i = 0; i < label_count; ++i) {
    std::ostringstream out;
    out << "Lap " << i % 50 + 1 << '/' << 50 << "  " << std::setw(3) << std::setfill('0') << i % 1000 << ' '
        << std::fixed << std::setprecision(2) << i * 0.37 << " km/h";
    sum = mix(sum, out.str());
  }
  return sum;
}

const int setting_lines = 4000;
const int setting_passes = 8;

std::string settings_text() {
  std::ostringstream text;
  for (int i = 0; i < setting_lines; ++i) {
    switch (i % 4) {
      case 0: text << "gear_" << i << " int " << i * 7 - 9000 << '\n'; break;
      case 1: text << "grip_" << i << " double " << i * 0.125 << '\n'; break;
      case 2: text << "flag_" << i << " bool " << i % 3 % 2 << '\n'; break;
      default: text << "name_" << i << " word driver" << i << '\n'; break;
    }
  }
  return text.str();
}

unsigned long settings(const std::string& text) {
  unsigned long sum = 0;
  for (int pass = 0; pass < setting_passes; ++pass) {
    std::istringstream file(text);
    std::string line;
    while (std::getline(file, line)) {
      std::istringstream fields(line);
      std::string key, type;
      fields >> key >> type;
      if (type == "int") {
        int v = 0;
        fields >> v;
        sum += static_cast<unsigned long>(v);
      } else if (type == "double") {
        double v = 0;
        fields >> v;
        sum += static_cast<unsigned long>(v * 8);
      } else if (type == "bool") {
        bool v = false;
        fields >> v;
        sum += v ? 3 : 1;
      } else {
        std::string v;
        fields >> v;
        sum = mix(sum, v);
      }
      sum = mix(sum, key);
    }
  }
  return sum;
}

}

int main() {
  double start = now();
  unsigned long label_sum = labels();
  std::fprintf(stderr, "labels %.4f\n", now() - start);

  std::string text = settings_text();
  start = now();
  unsigned long settings_sum = settings(text);
  std::fprintf(stderr, "settings %.4f\n", now() - start);

  std::printf("labels %lu\nsettings %lu (%u characters)\n", label_sum, settings_sum,
              static_cast<unsigned>(text.size()));
  return 0;
}
