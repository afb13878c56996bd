// Ordinary C++98 string code, as a game of the time would have it. Built
// against the toolchain's headers in the old string ABI: the inlined parts
// of std::string work on libtorvelrt's representation directly.
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

void show(const char* label, const std::string& s) {
  std::printf("%s: [%s] size=%u\n", label, s.c_str(), static_cast<unsigned>(s.size()));
}

std::vector<std::string> split(const std::string& text, char separator) {
  std::vector<std::string> parts;
  std::string::size_type start = 0;
  for (;;) {
    std::string::size_type end = text.find(separator, start);
    if (end == std::string::npos) {
      parts.push_back(text.substr(start));
      return parts;
    }
    parts.push_back(text.substr(start, end - start));
    start = end + 1;
  }
}

std::string join(const std::vector<std::string>& parts, const std::string& glue) {
  std::string out;
  for (std::vector<std::string>::size_type i = 0; i < parts.size(); ++i) {
    if (i != 0) out += glue;
    out += parts[i];
  }
  return out;
}

}

int main() {
  std::string greeting("Hello");
  std::string copy = greeting;
  copy[0] = 'J';  // writes through a leaked copy, not the original
  show("greeting", greeting);
  show("copy", copy);

  std::string sentence = greeting + ", " + "world" + '!';
  show("sentence", sentence);
  std::printf("find world=%u o=%u last o=%u missing=%d\n", static_cast<unsigned>(sentence.find("world")),
              static_cast<unsigned>(sentence.find('o')), static_cast<unsigned>(sentence.rfind('o')),
              sentence.find("xyz") == std::string::npos);
  std::printf("first vowel=%u last non-punct=%u\n", static_cast<unsigned>(sentence.find_first_of("aeiou")),
              static_cast<unsigned>(sentence.find_last_not_of("!,")));

  std::string edited = sentence;
  edited.insert(5, " there");
  edited.erase(0, 1);
  edited.replace(0, 4, "Hi");
  edited.append(3, '?');
  edited.append(sentence, 7, 5);
  show("edited", edited);
  show("sentence after edits", sentence);

  std::string grown;
  grown.reserve(10);
  for (int i = 0; i < 40; ++i) grown += static_cast<char>('a' + i % 26);
  show("grown", grown);
  std::printf("capacity at least size: %d\n", grown.capacity() >= grown.size());
  grown.resize(5);
  grown.resize(8, '*');
  show("resized", grown);

  std::vector<std::string> words = split("pear,apple,fig,banana,apple,cherry", ',');
  std::sort(words.begin(), words.end());
  words.erase(std::unique(words.begin(), words.end()), words.end());
  show("sorted", join(words, " < "));
  std::vector<std::string> copies(words);
  copies[0] += "-changed";
  show("words[0]", words[0]);
  show("copies[0]", copies[0]);

  std::printf("compare: %d %d %d\n", std::string("abc") < std::string("abd"), std::string("b") > "a",
              std::string("same") == "same");
  std::printf("compare sign: %d\n", std::string("abc").compare("abcde") < 0);

  std::string text = "The quick brown fox";
  int spaces = 0;
  for (std::string::iterator it = text.begin(); it != text.end(); ++it)
    if (*it == ' ') {
      *it = '_';
      ++spaces;
    }
  show("underscored", text);
  std::printf("spaces=%d\n", spaces);

  std::string assigned;
  assigned = text;
  assigned.swap(greeting);
  show("swapped assigned", assigned);
  show("swapped greeting", greeting);
  assigned.clear();
  std::printf("cleared empty=%d\n", assigned.empty());
  return 0;
}
