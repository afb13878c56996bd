// std::getline and the string extractor over buffers whose get areas come
// in pieces of every size, against the same reading done one character at
// a time through the buffer's public steps. Both must leave the same
// strings (characters, length and capacity, which shows that the string
// grew by the same appends), the same stream state and width, the same
// position in the input, and must have called underflow and uflow the same
// number of times.
#include "check.h"
#include "c_functions.h"
#include "string_io.h"
#include "string_text.h"

namespace {

using std::ios_base;
const int eof = -1;

// Hands out its text as get areas of the given sizes in turn; counts the
// calls that refill it.
class piece_buffer : public std::basic_streambuf<char> {
public:
  piece_buffer(const char* text, int length, const int* pieces, int piece_count)
      : text_(text), length_(length), pieces_(pieces), piece_count_(piece_count) {}

  int underflow() override {
    ++underflows;
    if (get_next < get_end) return static_cast<unsigned char>(*get_next);
    if (handed_ >= length_) return eof;
    int size = pieces_[next_piece_++ % piece_count_];
    if (size > length_ - handed_) size = length_ - handed_;
    char* start = const_cast<char*>(text_) + handed_;
    setg(start, start, start + size);
    handed_ += size;
    return static_cast<unsigned char>(*start);
  }
  int uflow() override {
    ++uflows;
    return std::basic_streambuf<char>::uflow();
  }
  // How many characters of the text were read.
  int consumed() const { return handed_ - static_cast<int>(get_end - get_next); }

  int underflows = 0;
  int uflows = 0;

private:
  const char* text_;
  int length_;
  const int* pieces_;
  int piece_count_;
  int handed_ = 0;
  int next_piece_ = 0;
};

// The readers as the plain per-character steps do them.
void reference_getline(std::istream& in, std::string& str, char delim) {
  std::istream::sentry guard(in, true);
  if (!guard.ok) {
    in.setstate(ios_base::failbit);
    return;
  }
  str.clear();
  std::basic_streambuf<char>* b = in.rdbuf();
  int c = b->sgetc();
  if (c == eof) {
    in.setstate(ios_base::iostate(ios_base::eofbit | ios_base::failbit));
    return;
  }
  char batch[128];
  int used = 0;
  for (;;) {
    if (c == static_cast<unsigned char>(delim)) {
      if (used > 0) str.append(batch, used);
      b->sbumpc();
      return;
    }
    if (c == eof) {
      if (used > 0) str.append(batch, used);
      in.setstate(ios_base::eofbit);
      return;
    }
    batch[used++] = static_cast<char>(c);
    if (used == 128) {
      str.append(batch, used);
      used = 0;
    }
    c = b->snextc();
  }
}

bool white(int c) { return c == ' ' || (c >= 9 && c <= 13); }

void reference_extract(std::istream& in, std::string& str) {
  std::istream::sentry guard(in, false);
  if (!guard.ok) {
    in.setstate(ios_base::failbit);
    return;
  }
  str.clear();
  int limit = in.width() > 0 ? static_cast<int>(in.width()) : 0x7fffffff;
  std::basic_streambuf<char>* b = in.rdbuf();
  char batch[128];
  int used = 0, taken = 0;
  int c = b->sgetc();
  while (taken < limit && c != eof && !white(c)) {
    batch[used++] = static_cast<char>(c);
    if (used == 128) {
      str.append(batch, used);
      used = 0;
    }
    ++taken;
    c = b->snextc();
  }
  if (used > 0) str.append(batch, used);
  if (c == eof) in.setstate(ios_base::eofbit);
  in.width(0);
  if (taken == 0) in.setstate(ios_base::failbit);
}

// ----- inputs -----

char text[20000];

// Lines of many lengths (across the 128-byte batches and the pieces),
// holding every byte value but the delimiter, each ended by the delimiter
// except, when open_end, the last.
int make_lines(char delim, bool open_end) {
  const int lengths[] = {0, 1, 2, 5, 127, 128, 129, 0, 255, 256, 257, 300, 1000, 3, 0, 0, 2049, 64, 4};
  unsigned seed = 7;
  int n = 0;
  for (int length : lengths) {
    for (int i = 0; i < length; ++i) {
      seed = seed * 1103515245u + 12345u;
      char c = static_cast<char>(seed >> 16);
      text[n++] = c == delim ? 'x' : c;
    }
    text[n++] = delim;
  }
  if (open_end) text[n - 1] = 'z';
  return n;
}

// Words of many lengths between runs of the six white space characters,
// with bytes from 0x80 up and NUL inside the words.
int make_words(bool leading_space, bool trailing_space) {
  const int lengths[] = {1, 2, 127, 128, 129, 3, 256, 257, 700, 5, 64, 1, 300};
  const char spaces[] = {' ', '\t', '\n', '\v', '\f', '\r'};
  unsigned seed = 11;
  int n = 0;
  if (leading_space) text[n++] = ' ';
  int w = 0;
  for (int length : lengths) {
    for (int i = 0; i < length; ++i) {
      seed = seed * 1103515245u + 12345u;
      int c = (seed >> 16) & 0xff;
      text[n++] = white(c) ? static_cast<char>(c | 0x80) : static_cast<char>(c);
    }
    int gap = 1 + w % 3;
    for (int g = 0; g < gap; ++g) text[n++] = spaces[(w + g) % 6];
    ++w;
  }
  if (!trailing_space) --n;
  return n;
}

const int pieces_1[] = {1};
const int pieces_7[] = {7};
const int pieces_127[] = {127};
const int pieces_128[] = {128};
const int pieces_129[] = {129};
const int pieces_large[] = {8192};
const int pieces_mixed[] = {3, 1, 200, 64, 129, 2};
struct piece_pattern {
  const int* sizes;
  int count;
};
const piece_pattern patterns[] = {{pieces_1, 1},   {pieces_7, 1},     {pieces_127, 1},  {pieces_128, 1},
                                  {pieces_129, 1}, {pieces_large, 1}, {pieces_mixed, 6}};

// ----- comparison -----

struct side {
  piece_buffer buffer;
  std::istream in;
  std::string str;
  side(int length, const piece_pattern& p) : buffer(text, length, p.sizes, p.count), in(&buffer) {}
};

char what[160];

void same(side& ours, side& plain) {
  check::set_case(what);
  CHECK_EQ(length_of(ours.str), length_of(plain.str));
  CHECK_EQ(capacity_of(ours.str), capacity_of(plain.str));
  CHECK(memcmp(chars_of(ours.str), chars_of(plain.str), length_of(plain.str)) == 0);
  CHECK_EQ(ours.in.rdstate(), plain.in.rdstate());
  CHECK_EQ(ours.in.width(), plain.in.width());
  CHECK_EQ(ours.buffer.consumed(), plain.buffer.consumed());
  CHECK_EQ(ours.buffer.underflows, plain.buffer.underflows);
  CHECK_EQ(ours.buffer.uflows, plain.buffer.uflows);
}

int inputs, inputs_read_to_the_end;

void lines_against_steps() {
  const char delims[] = {'\n', '\0', '\xff'};
  for (char delim : delims)
    for (int open_end = 0; open_end < 2; ++open_end)
      for (const piece_pattern& p : patterns) {
        int length = make_lines(delim, open_end != 0);
        side ours(length, p), plain(length, p);
        ++inputs;
        for (int call = 0; call < 40; ++call) {
          std::getline(ours.in, ours.str, delim);
          reference_getline(plain.in, plain.str, delim);
          snprintf(what, sizeof what, "getline, delimiter %d, %s end, pieces of %d, call %d", delim & 0xff,
                   open_end ? "open" : "closed", p.sizes[0], call);
          same(ours, plain);
          if (plain.in.fail()) break;
        }
        inputs_read_to_the_end += plain.in.eof();
      }
}

void words_against_steps() {
  const int widths[] = {0, 1, 3, 127, 128, 129, 200};
  for (int ends = 0; ends < 4; ++ends)
    for (int width : widths)
      for (const piece_pattern& p : patterns) {
        int length = make_words(ends & 1, ends & 2);
        side ours(length, p), plain(length, p);
        ++inputs;
        for (int call = 0; call < 3000; ++call) {
          ours.in.width(width);
          plain.in.width(width);
          ours.in >> ours.str;
          reference_extract(plain.in, plain.str);
          snprintf(what, sizeof what, "extractor, width %d, ends %d, pieces of %d, call %d", width, ends,
                   p.sizes[0], call);
          same(ours, plain);
          if (plain.in.fail()) break;
        }
        inputs_read_to_the_end += plain.in.eof();
      }
}

}

int main() {
  lines_against_steps();
  words_against_steps();
  // Every input was read to its end.
  check::set_case("coverage");
  CHECK_EQ(inputs_read_to_the_end, inputs);
  CHECK_EQ(inputs, 3 * 2 * 7 + 4 * 7 * 7);
  return check::finish();
}
