// A string workload of the kind a game's own code runs: copying, appending,
// searching, and building many short strings. Built once against
// libtorvelrt and once against the toolchain's own library (old string ABI)
// and run by compare.sh, which prints the time ratio. Prints the elapsed time
// in seconds and a checksum that both builds must agree on.
#include <cstdio>
#include <ctime>
#include <string>
#include <vector>

namespace {

double now() {
  timespec t;
  clock_gettime(CLOCK_MONOTONIC, &t);
  return t.tv_sec + t.tv_nsec * 1e-9;
}

unsigned long workload() {
  unsigned long checksum = 0;
  std::vector<std::string> names;
  names.reserve(4096);

  for (int round = 0; round < 40; ++round) {
    names.clear();
    // Many short strings, built piece by piece.
    for (int i = 0; i < 4096; ++i) {
      std::string name("entity_");
      char digits[16];
      std::snprintf(digits, sizeof digits, "%d", i * 7 + round);
      name += digits;
      name.push_back(i % 2 ? 'a' : 'b');
      names.push_back(name);
    }
    // Copies and assignments.
    std::vector<std::string> copies(names);
    std::string last;
    for (std::vector<std::string>::size_type i = 0; i < copies.size(); ++i) {
      last = copies[i];
      checksum += last.size();
    }
    // Appending into one long text.
    std::string text;
    for (std::vector<std::string>::size_type i = 0; i < names.size(); ++i) {
      text.append(names[i]);
      text += ';';
    }
    // Searching it.
    std::string::size_type pos = 0;
    int hits = 0;
    while ((pos = text.find("_1", pos)) != std::string::npos) {
      ++hits;
      ++pos;
    }
    checksum += hits + text.rfind("entity_") + text.find_first_of("9", 100);
    // Substrings and comparisons.
    for (std::vector<std::string>::size_type i = 1; i < names.size(); ++i) {
      std::string a = names[i].substr(0, 9);
      checksum += a.compare(names[i - 1].substr(0, 9)) < 0;
    }
  }
  return checksum;
}

}

int main() {
  double start = now();
  unsigned long checksum = workload();
  double elapsed = now() - start;
  std::printf("%.6f %lu\n", elapsed, checksum);
  return 0;
}
