// Ordered containers as a game's C++98 code uses them: std::map, std::set
// and std::multimap with thousands of entries. The toolchain's headers
// inline the containers; their node linking runs on libtorvelrt's tree
// functions.
#include <cstdio>
#include <map>
#include <set>
#include <string>

int main() {
  std::map<int, int> squares;
  unsigned long seed = 1;
  for (int i = 0; i < 5000; ++i) {
    seed = seed * 1103515245u + 12345u;
    int key = static_cast<int>((seed >> 8) % 20000);
    squares[key] = key * 2;
  }
  std::printf("map size=%u first=%d last=%d\n", static_cast<unsigned>(squares.size()), squares.begin()->first,
              squares.rbegin()->first);

  // Erase every third entry, then walk both ways.
  int n = 0;
  for (std::map<int, int>::iterator it = squares.begin(); it != squares.end();) {
    if (n++ % 3 == 0)
      squares.erase(it++);
    else
      ++it;
  }
  long forward = 0, backward = 0;
  int previous = -1;
  bool ordered = true;
  for (std::map<int, int>::const_iterator it = squares.begin(); it != squares.end(); ++it) {
    forward += it->second;
    if (it->first <= previous) ordered = false;
    previous = it->first;
  }
  for (std::map<int, int>::reverse_iterator it = squares.rbegin(); it != squares.rend(); ++it) backward += it->second;
  std::printf("after erase size=%u ordered=%d sums=%ld/%ld\n", static_cast<unsigned>(squares.size()), ordered,
              forward, backward);
  std::printf("lower_bound(10000)=%d find(-1)=%d\n", squares.lower_bound(10000)->first,
              squares.find(-1) == squares.end());

  std::set<std::string> words;
  const char* text[] = {"delta", "alpha", "charlie", "bravo", "alpha", "echo", "delta"};
  for (unsigned i = 0; i < sizeof text / sizeof text[0]; ++i) words.insert(text[i]);
  std::string joined;
  for (std::set<std::string>::iterator it = words.begin(); it != words.end(); ++it) joined += *it + " ";
  std::printf("set: %s(%u)\n", joined.c_str(), static_cast<unsigned>(words.size()));
  words.erase("charlie");
  std::printf("set has charlie=%u bravo=%u\n", static_cast<unsigned>(words.count("charlie")),
              static_cast<unsigned>(words.count("bravo")));

  std::multimap<int, int> groups;
  for (int i = 0; i < 3000; ++i) groups.insert(std::make_pair(i % 7, i));
  std::printf("multimap size=%u group3=%u\n", static_cast<unsigned>(groups.size()),
              static_cast<unsigned>(groups.count(3)));
  std::pair<std::multimap<int, int>::iterator, std::multimap<int, int>::iterator> range = groups.equal_range(5);
  long group_sum = 0;
  for (std::multimap<int, int>::iterator it = range.first; it != range.second; ++it) group_sum += it->second;
  std::printf("group5 sum=%ld\n", group_sum);
  groups.erase(groups.lower_bound(2), groups.upper_bound(4));
  std::printf("after range erase size=%u first of 5=%d\n", static_cast<unsigned>(groups.size()),
              groups.lower_bound(5)->second);
  groups.clear();
  squares.clear();
  std::printf("cleared %u %u\n", static_cast<unsigned>(groups.size()), static_cast<unsigned>(squares.size()));
  return 0;
}
