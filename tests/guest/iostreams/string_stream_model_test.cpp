// A std::stringstream driven through thousands of random steps (writes,
// reads, seeks, putbacks, new contents) next to a plain model of the rules:
// the content up to the high-water mark, the read and write positions, the
// state bits and the count of the last input. After every step the stream
// must agree with the model. The seeds are fixed, so a failure repeats.
#include "check.h"
#include "random_bits.h"
#include "string_streams.h"
#include "string_text.h"

namespace {

using std::ios_base;

const int bad = ios_base::badbit, eof = ios_base::eofbit, fail = ios_base::failbit;
const int limit = 1 << 17;

// The stream as the rules describe it. `length` is the high-water mark:
// the content runs to the furthest point any write reached.
struct model {
  unsigned char content[limit];
  int length;
  int get;  // next character to read
  int put;  // next position to write
  int state;
  int count;  // gcount()
  bool at_end_on_new_content;  // app or ate: writing starts at the end

  void write(const unsigned char* s, int n) {
    memcpy(content + put, s, n);
    put += n;
    if (put > length) length = put;
  }
  // The output sentry, and the input sentry of the unformatted members: a
  // stream with any state bit gains failbit and transfers nothing.
  bool sentry_ok() {
    if (state != 0) {
      state |= fail;
      return false;
    }
    return true;
  }
  // seekg and putback clear eofbit first.
  void clear_eof() { state &= ~eof; }

  long long origin(int way, int current) { return way == ios_base::cur ? current : way == ios_base::end ? length : 0; }
  bool reachable(long long target) { return target >= 0 && target <= length; }
};

model m;

enum operation {
  op_sputc, op_sputn, op_put, op_write, op_get, op_read, op_sbumpc, op_seekg_off, op_seekg_pos, op_seekp_off,
  op_seekp_pos, op_tellg, op_tellp, op_putback, op_unget, op_str, op_clear, op_count
};

const char* const operation_names[op_count] = {
    "sputc", "sputn", "put", "write", "get", "read", "sbumpc", "seekg(off, dir)", "seekg(pos)", "seekp(off, dir)",
    "seekp(pos)", "tellg", "tellp", "putback", "unget", "str(s)", "clear"};

// How often each operation comes up, out of the sum.
const int weights[op_count] = {8, 6, 10, 8, 10, 6, 5, 6, 3, 6, 3, 2, 2, 6, 4, 1, 16};

unsigned char random_char(random_bits& r) {
  static const unsigned char alphabet[] = {'a', 'b', 'c', 'd', 0xff, 0};
  return alphabet[r.below(r.below(8) == 0 ? 6 : 4)];
}

int random_count(random_bits& r) { return r.below(12) == 0 ? r.between(0, 600) : r.between(0, 24); }

long long random_offset(random_bits& r) {
  if (r.below(30) == 0) return r.below(2) ? 0x100000000LL + r.below(4) : -0x7fffffffffffffffLL;
  return r.between(-m.length - 3, m.length + 3);
}

ios_base::seekdir random_way(random_bits& r) { return ios_base::seekdir(r.below(3)); }

int failures_in_run;

void expect(bool ok, const char* what, long long got, long long want) {
  if (ok) return;
  check::fail_values(__FILE__, __LINE__, what, static_cast<unsigned long long>(got), static_cast<unsigned long long>(want));
  ++failures_in_run;
}

void expect_equal(const char* what, long long got, long long want) { expect(got == want, what, got, want); }

// One random step on both the stream and the model.
void step(std::stringstream& s, random_bits& r, operation op) {
  std::stringbuf* b = s.rdbuf();
  unsigned char chars[600];
  switch (op) {
    case op_sputc: {
      unsigned char c = random_char(r);
      expect_equal("sputc result", b->sputc(static_cast<char>(c)), c);
      m.write(&c, 1);
      break;
    }
    case op_sputn: {
      int n = random_count(r);
      for (int k = 0; k < n; ++k) chars[k] = random_char(r);
      expect_equal("sputn result", b->sputn(reinterpret_cast<char*>(chars), n), n);
      m.write(chars, n);
      break;
    }
    case op_put: {
      unsigned char c = random_char(r);
      s.put(static_cast<char>(c));
      if (m.sentry_ok()) m.write(&c, 1);
      break;
    }
    case op_write: {
      int n = random_count(r);
      for (int k = 0; k < n; ++k) chars[k] = random_char(r);
      s.write(reinterpret_cast<char*>(chars), n);
      if (m.sentry_ok()) m.write(chars, n);
      break;
    }
    case op_get: {
      int got = s.get();
      int want = -1;
      m.count = 0;
      if (!m.sentry_ok()) {
        m.state |= eof | fail;
      } else if (m.get < m.length) {
        want = m.content[m.get++];
        m.count = 1;
      } else {
        m.state |= eof | fail;
      }
      expect_equal("get result", got, want);
      break;
    }
    case op_read: {
      int n = random_count(r);
      memset(chars, 0x55, sizeof chars);
      s.read(reinterpret_cast<char*>(chars), n);
      m.count = 0;
      if (m.sentry_ok()) {
        int available = m.length - m.get;
        int taken = n < available ? n : available;
        expect(memcmp(chars, m.content + m.get, taken) == 0, "characters read", 0, 0);
        m.get += taken;
        m.count = taken;
        if (taken != n) m.state |= eof | fail;
      }
      break;
    }
    case op_sbumpc: {
      int want = m.get < m.length ? m.content[m.get++] : -1;
      expect_equal("sbumpc result", b->sbumpc(), want);
      break;
    }
    case op_seekg_off:
    case op_seekg_pos: {
      long long off = random_offset(r);
      ios_base::seekdir way = op == op_seekg_off ? random_way(r) : ios_base::beg;
      if (op == op_seekg_off) s.seekg(off, way);
      else s.seekg(std::streampos(off));
      m.clear_eof();
      if (!(m.state & (bad | fail))) {
        long long target = off + m.origin(way, m.get);
        if (m.reachable(target)) m.get = static_cast<int>(target);
        else m.state |= fail;
      }
      break;
    }
    case op_seekp_off:
    case op_seekp_pos: {
      long long off = random_offset(r);
      ios_base::seekdir way = op == op_seekp_off ? random_way(r) : ios_base::beg;
      // Often back to the end, so that the content keeps growing.
      if (op == op_seekp_off && r.below(3) == 0) {
        off = 0;
        way = ios_base::end;
      }
      if (op == op_seekp_off) s.seekp(off, way);
      else s.seekp(std::streampos(off));
      if (!(m.state & (bad | fail))) {
        long long target = off + m.origin(way, m.put);
        if (m.reachable(target)) m.put = static_cast<int>(target);
        else m.state |= fail;
      }
      break;
    }
    case op_tellg:
      expect_equal("tellg", s.tellg().offset, m.state & (bad | fail) ? -1 : m.get);
      break;
    case op_tellp:
      expect_equal("tellp", s.tellp().offset, m.state & (bad | fail) ? -1 : m.put);
      break;
    case op_putback: {
      unsigned char c = random_char(r);
      if (r.below(2) && m.get > 0) c = m.content[m.get - 1];
      s.putback(static_cast<char>(c));
      m.count = 0;
      m.clear_eof();
      if (m.sentry_ok()) {
        if (m.get == 0) {
          m.state |= bad;
        } else {
          // A different character overwrites: the buffer may write.
          m.content[--m.get] = c;
        }
      }
      break;
    }
    case op_unget:
      s.unget();
      m.count = 0;
      m.clear_eof();
      if (m.sentry_ok()) {
        if (m.get == 0) m.state |= bad;
        else --m.get;
      }
      break;
    case op_str: {
      int n = r.between(0, 40);
      for (int k = 0; k < n; ++k) chars[k] = random_char(r);
      s.str(text(reinterpret_cast<char*>(chars), n));
      memcpy(m.content, chars, n);
      m.length = n;
      m.get = 0;
      m.put = m.at_end_on_new_content ? n : 0;
      break;
    }
    case op_clear:
      s.clear();
      m.state = 0;
      break;
    case op_count:
      break;
  }
}

// The stream's observable side: content, positions, state, count.
void compare(const std::stringstream& s) {
  const std::stringbuf* b = s.rdbuf();
  std::string content = b->str();
  expect_equal("content length", length_of(content), m.length);
  if (length_of(content) == static_cast<size_t>(m.length))
    expect(memcmp(chars_of(content), m.content, m.length) == 0, "content", 0, 0);
  expect_equal("read position", b->get_next - b->get_begin, m.get);
  expect_equal("write position", b->put_next - b->put_begin, m.put);
  expect_equal("state", s.rdstate(), m.state);
  expect_equal("gcount", s.gcount(), m.count);
}

operation pick(random_bits& r) {
  int total = 0;
  for (int w : weights) total += w;
  int x = r.below(total);
  for (int op = 0; op < op_count; ++op) {
    if (x < weights[op]) return operation(op);
    x -= weights[op];
  }
  return op_clear;
}

struct run_case {
  const char* name;
  unsigned seed;
  int mode;
  const char* initial;  // null: the constructor without a string
  int steps;
  bool new_contents;  // whether str(s) comes up; without it the content grows large
};

void run(const run_case& c) {
  check::set_case(c.name);
  random_bits r = {c.seed};
  std::stringstream* s = c.initial ? new std::stringstream(text(c.initial), ios_base::openmode(c.mode))
                                   : new std::stringstream(ios_base::openmode(c.mode));
  m.at_end_on_new_content = (c.mode & (ios_base::app | ios_base::ate)) != 0;
  int n = c.initial ? static_cast<int>(strlen(c.initial)) : 0;
  memcpy(m.content, c.initial ? c.initial : "", n);
  m.length = n;
  m.get = 0;
  m.put = m.at_end_on_new_content ? n : 0;
  m.state = 0;
  m.count = 0;
  failures_in_run = 0;
  compare(*s);
  for (int k = 0; k < c.steps && failures_in_run == 0; ++k) {
    operation op = m.length > limit - 1200 ? op_str : pick(r);
    if (op == op_str && !c.new_contents) op = op_clear;
    step(*s, r, op);
    compare(*s);
    if (failures_in_run != 0) printf("%s: step %d (%s) disagrees with the model\n", c.name, k, operation_names[op]);
  }
  delete s;
}

}

int main() {
  const int in_out = ios_base::in | ios_base::out;
  const run_case runs[] = {
      {"in|out from nothing", 0x2545f491u, in_out, 0, 4000, true},
      {"in|out|ate from a string", 0x9e3779b9u, in_out | ios_base::ate, "start", 3000, true},
      {"in|out|app from a string", 0x7f4a7c15u, in_out | ios_base::app, "dcba", 3000, true},
      {"in|out, one content growing large", 0x1b873593u, in_out, "abcd", 3000, false},
  };
  for (const run_case& c : runs) run(c);
  return check::finish();
}
