// ios_base and basic_ios<char>: the checked state change and its fatal
// report, fill, tie, callbacks and their order, copyfmt, imbue, the
// extensible words and the process-wide counters.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include "c_functions.h"

#include "check.h"
#include "fatal_state.h"
#include "istream.h"
#include "test_host.h"

namespace {

using std::ios_base;
typedef std::basic_ios<char> ios_char;

// A basic_ios of its own, the way a derived stream holds one.
struct plain_ios : ios_char {
  explicit plain_ios(std::basic_streambuf<char>* b) : ios_char(b) {}
};

std::basic_streambuf<char> shared_buffer;

struct state_case {
  const char* name;
  bool with_buffer;
  int state_before;
  int mask;
  void (*operation)(ios_char&);
  int state_after;
  bool fatal;
};

void clear_all(ios_char& s) { s.clear(); }
void set_good(ios_char& s) { s.setstate(ios_base::goodbit); }
void set_fail(ios_char& s) { s.setstate(ios_base::failbit); }
void mark_fail(ios_char& s) { s._M_setstate(ios_base::failbit); }
void mask_fail(ios_char& s) { s.exceptions(ios_base::failbit); }
void rebuffer(ios_char& s) { s.rdbuf(&shared_buffer); }
void unbuffer(ios_char& s) { s.rdbuf(0); }

const state_case state_cases[] = {
    {"clear() without a buffer", false, 0, 0, clear_all, 1, false},
    {"clear() without a buffer, badbit in the mask", false, 0, 1, clear_all, 1, true},
    {"setstate(goodbit) on a clean stream", true, 0, 7, set_good, 0, false},
    {"setstate(failbit) adds to eofbit", true, 2, 0, set_fail, 6, false},
    {"setstate(failbit) meets the mask", true, 2, 4, set_fail, 6, true},
    {"setstate(goodbit) without a buffer adds badbit", false, 0, 0, set_good, 1, false},
    {"_M_setstate(failbit) never reports", true, 0, 7, mark_fail, 4, false},
    {"exceptions(failbit) on a failed stream reports at once", true, 4, 0, mask_fail, 4, true},
    {"exceptions(failbit) on an eof stream", true, 2, 0, mask_fail, 2, false},
    {"rdbuf(b) clears eofbit and failbit", true, 6, 0, rebuffer, 0, false},
    {"rdbuf(0) leaves exactly badbit", true, 6, 0, unbuffer, 1, false},
    {"rdbuf(0) with badbit in the mask", true, 0, 1, unbuffer, 1, true},
};

void run_state_case(void* arg) {
  const state_case& c = *static_cast<const state_case*>(arg);
  plain_ios s(c.with_buffer ? &shared_buffer : 0);
  s.stream_state = ios_base::iostate(c.state_before);
  s.exception_mask = ios_base::iostate(c.mask);
  report_state_on_fatal(s);
  c.operation(s);
  CHECK_EQ(s.stream_state, c.state_after);
}

void check_state_changes() {
  for (const state_case& c : state_cases) {
    check::set_case(c.name);
    if (c.fatal) {
      char after[32];
      snprintf(after, sizeof after, "state=%d\n", c.state_after);
      EXPECT_FATAL(run_state_case, const_cast<state_case*>(&c), "std::ios_base::failure", "basic_ios::clear", after);
    } else {
      run_state_case(const_cast<state_case*>(&c));
    }
  }
}

void check_queries() {
  check::set_case("queries");
  plain_ios s(&shared_buffer);
  const int states[] = {0, 1, 2, 4, 6};
  for (int state : states) {
    s.stream_state = ios_base::iostate(state);
    CHECK_EQ(s.rdstate(), state);
    CHECK_EQ(s.good(), state == 0);
    CHECK_EQ(s.eof(), (state & 2) != 0);
    CHECK_EQ(s.bad(), (state & 1) != 0);
    CHECK_EQ(s.fail(), (state & 5) != 0);
    CHECK_EQ(!s, (state & 5) != 0);
    CHECK(static_cast<void*>(s) == ((state & 5) ? 0 : &s));
  }
  CHECK_EQ(s.widen('\xe9'), '\xe9');
  CHECK_EQ(s.narrow('q', '?'), 'q');
}

void check_initial_values() {
  check::set_case("basic_ios(buffer)");
  plain_ios s(&shared_buffer);
  CHECK_EQ(s.float_precision, 6);
  CHECK_EQ(s.field_width, 0);
  CHECK_EQ(s.format_flags, 0x1002);
  CHECK_EQ(s.exception_mask, 0);
  CHECK_EQ(s.stream_state, 0);
  CHECK(s.rdbuf() == &shared_buffer);
  CHECK(s.tie() == 0);
  CHECK_EQ(s.fill_set, 0);
  CHECK_EQ(s.word_count, 8);
  CHECK(s.words == s.local_words);
  CHECK(s.callback_head == 0);
  CHECK(s.num_get_facet == static_cast<const char*>(s.num_put_facet) + 8);
  CHECK_EQ(s.ctype_facet->widen_map['A'], 'A');

  check::set_case("basic_ios(null)");
  plain_ios none(0);
  CHECK_EQ(none.stream_state, ios_base::badbit);
}

void check_fill() {
  check::set_case("fill");
  plain_ios fresh(&shared_buffer);
  CHECK_EQ(fresh.fill(), ' ');
  CHECK_EQ(fresh.fill_set, 1);
  plain_ios setter(&shared_buffer);
  CHECK_EQ(setter.fill('*'), ' ');
  CHECK_EQ(setter.fill(), '*');

  check::set_case("fill through a const copyfmt source");
  plain_ios source(&shared_buffer);
  plain_ios target(&shared_buffer);
  const ios_char& constant = source;
  target.copyfmt(constant);
  CHECK_EQ(source.fill_set, 1);
  CHECK_EQ(source.fill_char, ' ');
  CHECK_EQ(target.fill_char, ' ');
  CHECK_EQ(target.fill_set, 1);
}

// Callbacks record into this log as "<tag><event>" pairs.
char event_log[64];
int event_log_used;

void log_event(ios_base::event e, ios_base& s, int index) {
  if (event_log_used + 3 < static_cast<int>(sizeof event_log)) {
    event_log[event_log_used++] = static_cast<char>('A' + index);
    event_log[event_log_used++] = static_cast<char>('0' + e);
    event_log[event_log_used] = '\0';
  }
  (void)s;
}

void start_log() {
  event_log_used = 0;
  event_log[0] = '\0';
}

// What a copyfmt callback sees of the target at each event.
int seen_precision;
int seen_mask;
void watch_copy(ios_base::event e, ios_base& s, int) {
  if (e == ios_base::copyfmt_event) {
    seen_precision = s.float_precision;
    seen_mask = s.exception_mask;
  }
}

void check_callbacks() {
  check::heap_probe heap;
  {
    plain_ios s(&shared_buffer);
    s.register_callback(log_event, 0);
    s.register_callback(log_event, 1);
    CHECK_EQ(heap.last_size(), 16u);

    check::set_case("imbue calls callbacks newest first");
    start_log();
    std::locale l;
    std::locale previous = s.imbue(l);
    CHECK_TEXT(previous.locale_name, "C");
    CHECK_TEXT(event_log, "B1A1");

    check::set_case("copyfmt of itself calls nothing");
    start_log();
    s.copyfmt(s);
    CHECK_TEXT(event_log, "");

    check::set_case("copyfmt calls the target's callbacks only");
    plain_ios source(&shared_buffer);
    source.register_callback(log_event, 2);
    source.float_precision = 3;
    source.format_flags = ios_base::fmtflags(0x800);
    source.field_width = 9;
    source.fill('#');
    source.tie(reinterpret_cast<std::ostream*>(&source));
    start_log();
    s.copyfmt(source);
    CHECK_TEXT(event_log, "B0A0B2A2");
    CHECK_EQ(s.float_precision, 3);
    CHECK_EQ(s.field_width, 9);
    CHECK_EQ(s.format_flags, 0x800);
    CHECK_EQ(s.fill(), '#');
    CHECK(s.tie() == reinterpret_cast<std::ostream*>(&source));

    check::set_case("_M_call_callbacks");
    start_log();
    s._M_call_callbacks(ios_base::copyfmt_event);
    CHECK_TEXT(event_log, "B2A2");
    start_log();
  }
  check::set_case("teardown");
  CHECK_TEXT(event_log, "C0B0A0");
  CHECK_EQ(heap.live(), 0);

  check::set_case("copyfmt: formats before the copy event, mask after it");
  plain_ios target(&shared_buffer);
  plain_ios source(&shared_buffer);
  source.float_precision = 11;
  source.exception_mask = ios_base::eofbit;
  target.register_callback(watch_copy, 0);
  target.copyfmt(source);
  CHECK_EQ(seen_precision, 11);
  CHECK_EQ(seen_mask, 0);
  CHECK_EQ(target.exception_mask, ios_base::eofbit);

  check::set_case("_M_dispose_callbacks");
  check::heap_probe nodes;
  target.register_callback(log_event, 0);
  target._M_dispose_callbacks();
  CHECK(target.callback_head == 0);
  CHECK_EQ(nodes.live(), -1);
}

void copy_into_null_buffer(void*) {
  plain_ios target(&shared_buffer);
  plain_ios source(0);
  source.exception_mask = ios_base::badbit;
  target.rdbuf(0);
  target.stream_state = ios_base::goodbit;
  report_state_on_fatal(target);
  target.copyfmt(source);
}

void check_copyfmt_checks_state() {
  check::set_case("copyfmt applies the new mask to the target's state");
  EXPECT_FATAL(copy_into_null_buffer, 0, "std::ios_base::failure", "basic_ios::clear", "state=1\n");
}

void check_words() {
  check::heap_probe heap;
  {
    plain_ios s(&shared_buffer);
    check::set_case("_M_grow_words within the array");
    CHECK(&s._M_grow_words(3, true) == &s.local_words[3]);

    check::set_case("_M_grow_words(8) doubles");
    s.local_words[5]._M_iword = 55;
    ios_base::_Words& eighth = s._M_grow_words(8, true);
    CHECK_EQ(s.word_count, 16);
    CHECK(s.words != s.local_words);
    CHECK(&eighth == &s.words[8]);
    CHECK_EQ(s.words[5]._M_iword, 55);
    CHECK_EQ(heap.last_size(), 16 * 8u);
    for (int i = 8; i < 16; ++i) CHECK(s.words[i]._M_iword == 0 && s.words[i]._M_pword == 0);

    check::set_case("_M_grow_words(40) takes index + 1");
    s.words[12]._M_iword = 1212;
    s._M_grow_words(40, false);
    CHECK_EQ(s.word_count, 41);
    CHECK_EQ(s.words[12]._M_iword, 1212);
    CHECK_EQ(s.words[5]._M_iword, 55);
    CHECK_EQ(heap.live(), 1);

    check::set_case("iword through the inline path");
    s.iword(30) = 7;
    CHECK_EQ(s.words[30]._M_iword, 7);

    check::set_case("negative index");
    s.exception_mask = ios_base::badbit;
    ios_base::_Words& fallback = s._M_grow_words(-1, true);
    CHECK(&fallback == &s.fallback_word);
    CHECK_EQ(s.stream_state, ios_base::badbit);
    fallback._M_iword = 99;
    fallback._M_pword = &s;
    ios_base::_Words& again = s._M_grow_words(-5, false);
    CHECK(again._M_iword == 0 && again._M_pword == 0);
  }
  check::set_case("grown array freed once");
  CHECK_EQ(heap.live(), 0);

  check::set_case("_M_grow_words(20) from 8 slots");
  plain_ios s(&shared_buffer);
  s._M_grow_words(20, true);
  CHECK_EQ(s.word_count, 21);
}

// A callback that throws: whatever runs the callbacks ends the program
// through std::terminate instead of letting the exception out.
void throw_from_callback(ios_base::event, ios_base&, int) { throw 3; }

plain_ios copy_source(&shared_buffer);
void tear_down(plain_ios* s) { delete s; }
void copy_format(plain_ios* s) { s->copyfmt(copy_source); }
void imbue_locale(plain_ios* s) { s->imbue(std::locale()); }
void call_callbacks(plain_ios* s) { s->_M_call_callbacks(ios_base::copyfmt_event); }

void check_throwing_callbacks() {
  const struct {
    const char* name;
    void (*run)(plain_ios*);
  } cases[] = {
      {"teardown", tear_down},
      {"copyfmt", copy_format},
      {"imbue", imbue_locale},
      {"_M_call_callbacks", call_callbacks},
  };
  for (const auto& c : cases) {
    check::set_case(c.name);
    pid_t child = fork();
    if (child == 0) {
      close(2);
      // The stream is never destroyed here: its own teardown would run
      // the throwing callback again while the exception unwinds.
      plain_ios* s = new plain_ios(&shared_buffer);
      s->register_callback(throw_from_callback, 0);
      try {
        c.run(s);
      } catch (...) {
        _exit(1);
      }
      _exit(0);
    }
    int status = 0;
    waitpid(child, &status, 0);
    CHECK(WIFSIGNALED(status) && WTERMSIG(status) == SIGABRT);
  }
}

void check_statics() {
  check::set_case("xalloc");
  CHECK_EQ(ios_base::xalloc(), 4);
  CHECK_EQ(ios_base::xalloc(), 5);
  CHECK_EQ(ios_base::xalloc(), 6);

  check::set_case("sync_with_stdio");
  CHECK_EQ(ios_base::Init::_S_synced_with_stdio, 1);
  CHECK_EQ(ios_base::sync_with_stdio(false), true);
  CHECK_EQ(ios_base::Init::_S_synced_with_stdio, 0);
  CHECK_EQ(ios_base::sync_with_stdio(true), false);

  check::set_case("_M_init");
  plain_ios s(&shared_buffer);
  s.float_precision = 2;
  s.field_width = 3;
  s.format_flags = ios_base::fmtflags(0);
  s.exception_mask = ios_base::eofbit;
  s._M_init();
  CHECK_EQ(s.float_precision, 6);
  CHECK_EQ(s.field_width, 0);
  CHECK_EQ(s.format_flags, 0x1002);
  CHECK_EQ(s.exception_mask, ios_base::eofbit);
}

}

int main() {
  check_state_changes();
  check_queries();
  check_initial_values();
  check_fill();
  check_callbacks();
  check_copyfmt_checks_state();
  check_words();
  check_throwing_callbacks();
  check_statics();
  return check::finish();
}
