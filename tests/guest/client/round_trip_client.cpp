// A std::stringstream round trip as game code of the time wrote one: values
// written with the inserters, then read back with the stream's own input
// members, repositioned with seekg and seekp, and checked against what was
// written. Built against the toolchain's headers in the old string ABI.
// Stream positions (tellg, tellp, the seeks taking a position) are left out:
// these headers give std::streampos another size than the guest ABI does.
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>

namespace {

void state(const char* what, const std::ios& s) {
  std::printf("%s: good=%d eof=%d fail=%d bad=%d\n", what, s.good(), s.eof(), s.fail(), s.bad());
}

void record() {
  std::stringstream ss;
  ss << "speed " << 42 << " grip " << 0.75 << '\n' << "end";
  std::printf("written: %u characters\n", static_cast<unsigned>(ss.str().size()));

  char word[16];
  char number[16];
  ss.getline(word, sizeof word, ' ');
  ss.getline(number, sizeof number, ' ');
  std::printf("first field: [%s] = [%s], gcount=%d\n", word, number, static_cast<int>(ss.gcount()));
  ss.getline(word, sizeof word, ' ');
  ss.getline(number, sizeof number);
  std::printf("second field: [%s] = [%s] as %g\n", word, number, std::atof(number));
  ss.getline(word, sizeof word);
  std::printf("last line: [%s]\n", word);
  state("after the last line", ss);

  ss.clear();
  ss.seekg(6, std::ios_base::beg);
  std::printf("peek at 6: %c\n", ss.peek());
  ss.seekg(-3, std::ios_base::end);
  char tail[4] = {};
  ss.read(tail, 3);
  std::printf("last three: [%s]\n", tail);
  ss.seekg(100, std::ios_base::beg);
  state("seekg past the end", ss);
  ss.clear();

  ss.seekp(0, std::ios_base::beg);
  ss << "SPEED";
  ss.seekp(0, std::ios_base::end);
  ss << '!';
  ss.seekg(-22, std::ios_base::cur);
  char head[6] = {};
  ss.read(head, 5);
  std::string all = ss.str();
  std::printf("after overwriting: [%s], %u characters, ends with %c\n", head, static_cast<unsigned>(all.size()),
              all[all.size() - 1]);
}

void many_numbers() {
  std::stringstream ss;
  for (int i = 0; i < 1000; ++i) ss << i * 7 << ' ';
  long sum = 0;
  int count = 0;
  char token[32];
  while (ss.getline(token, sizeof token, ' ')) {
    sum += std::atol(token);
    ++count;
  }
  std::printf("numbers: %d read back, sum %ld, text of %u characters\n", count, sum,
              static_cast<unsigned>(ss.str().size()));
}

void put_back() {
  std::stringstream both(std::string("abc"));
  both.get();
  both.putback('Z');
  state("putback of a new character into a stringstream", both);
  std::printf("content: [%s], next: %c\n", both.str().c_str(), both.get());

  std::istringstream reading(std::string("abc"));
  reading.get();
  reading.putback('Z');
  state("the same into an istringstream", reading);
  std::printf("content: [%s]\n", reading.str().c_str());
}

void new_content() {
  std::stringstream ss(std::string("old old old"));
  ss.str("new");
  ss << 'N';
  char got[8] = {};
  ss.read(got, sizeof got - 1);
  std::printf("after str(\"new\") and one write: [%s], read [%s]\n", ss.str().c_str(), got);
  state("reading past the new content", ss);
}

}

int main() {
  record();
  many_numbers();
  put_back();
  new_content();
  return 0;
}
