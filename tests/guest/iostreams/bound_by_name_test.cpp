// The library reaches its own class-template members by name, as game code
// does: a definition of the same name in the program (as a game binary may
// carry one) takes the place of the library's for the library's own calls
// too. This program supplies such definitions, each of which only records
// that it was reached, and drives the library members that call them.
#include "check.h"
#include "script_buffer.h"

namespace {

enum replacement {
  r_setstate,
  r_get,
  r_get_into,
  r_getline,
  r_ignore,
  r_input_sentry,
  r_output_sentry,
  r_output_sentry_end,
  r_pad_write,
  r_insert_long,
  r_insert_unsigned_long,
  r_ostream_insert,
  r_fail,
  r_clear,
  replacement_count
};

int reached[replacement_count];

void reset() {
  for (int& r : reached) r = 0;
}

typedef std::basic_ios<char> ios_char;

}

// The program's own definitions under the library's names. Members take
// `this` as their first argument on this target, so plain functions with
// the members' symbol names stand in for them.
extern "C" {
void own_setstate(ios_char* s, int state) __asm__("_ZNSt9basic_iosIcSt11char_traitsIcEE8setstateESt12_Ios_Iostate");
void own_setstate(ios_char* s, int state) {
  ++reached[r_setstate];
  s->stream_state = std::ios_base::iostate(s->stream_state | state);
}

int own_get(std::istream*) __asm__("_ZNSi3getEv");
int own_get(std::istream*) {
  ++reached[r_get];
  return 'Z';
}

std::istream* own_get_into(std::istream* s, char*, int, char) __asm__("_ZNSi3getEPcic");
std::istream* own_get_into(std::istream* s, char*, int, char) {
  ++reached[r_get_into];
  return s;
}

std::istream* own_getline(std::istream* s, char*, int, char) __asm__("_ZNSi7getlineEPcic");
std::istream* own_getline(std::istream* s, char*, int, char) {
  ++reached[r_getline];
  return s;
}

std::istream* own_ignore(std::istream* s, int, int) __asm__("_ZNSi6ignoreEii");
std::istream* own_ignore(std::istream* s, int, int) {
  ++reached[r_ignore];
  return s;
}

void own_input_sentry(std::istream::sentry* k, std::istream&, bool) __asm__("_ZNSi6sentryC1ERSib");
void own_input_sentry(std::istream::sentry* k, std::istream&, bool) {
  ++reached[r_input_sentry];
  k->ok = false;
}

void own_output_sentry(std::ostream::sentry* k, std::ostream& os) __asm__("_ZNSo6sentryC1ERSo");
void own_output_sentry(std::ostream::sentry* k, std::ostream& os) {
  ++reached[r_output_sentry];
  k->ok = true;
  k->sentry_stream = &os;
}

void own_output_sentry_end(std::ostream::sentry*) __asm__("_ZNSo6sentryD1Ev");
void own_output_sentry_end(std::ostream::sentry*) { ++reached[r_output_sentry_end]; }

void own_pad_write(std::ostream*, const char*, int, int) __asm__("_ZNSo12_M_pad_writeEPKcii");
void own_pad_write(std::ostream*, const char*, int, int) { ++reached[r_pad_write]; }

std::ostream* own_insert_long(std::ostream* s, long) __asm__("_ZNSo9_M_insertIlEERSoT_");
std::ostream* own_insert_long(std::ostream* s, long) {
  ++reached[r_insert_long];
  return s;
}

std::ostream* own_insert_unsigned_long(std::ostream* s, unsigned long) __asm__("_ZNSo9_M_insertImEERSoT_");
std::ostream* own_insert_unsigned_long(std::ostream* s, unsigned long) {
  ++reached[r_insert_unsigned_long];
  return s;
}

std::ostream* own_ostream_insert(std::ostream* s, const char*, int) __asm__(
    "_ZSt16__ostream_insertIcSt11char_traitsIcEERSt13basic_ostreamIT_T0_ES6_PKS3_i");
std::ostream* own_ostream_insert(std::ostream* s, const char*, int) {
  ++reached[r_ostream_insert];
  return s;
}

bool own_fail(const ios_char*) __asm__("_ZNKSt9basic_iosIcSt11char_traitsIcEE4failEv");
bool own_fail(const ios_char*) {
  ++reached[r_fail];
  return true;
}

void own_clear(ios_char* s, int state) __asm__("_ZNSt9basic_iosIcSt11char_traitsIcEE5clearESt12_Ios_Iostate");
void own_clear(ios_char* s, int state) {
  ++reached[r_clear];
  s->stream_state = std::ios_base::iostate(state);
}

// The library's own sentry constructors, called past the replacements above.
void library_input_sentry(std::istream::sentry* k, std::istream& is, bool noskipws) __asm__("_ZNSi6sentryC2ERSib");
void library_output_sentry(std::ostream::sentry* k, std::ostream& os) __asm__("_ZNSo6sentryC2ERSo");
}

namespace {

using std::ios_base;

void input_sentry_on_failed_stream(std::istream& in, std::ostream&) {
  in.stream_state = ios_base::eofbit;
  alignas(4) char k[sizeof(std::istream::sentry)];
  library_input_sentry(reinterpret_cast<std::istream::sentry*>(k), in, true);
}
void output_sentry_on_failed_stream(std::istream&, std::ostream& out) {
  out.stream_state = ios_base::eofbit;
  alignas(4) char k[sizeof(std::ostream::sentry)];
  library_output_sentry(reinterpret_cast<std::ostream::sentry*>(k), out);
}
// The tied stream's failed flush is reported on the tied stream, by name.
void output_sentry_with_failing_tie(std::istream&, std::ostream& out) {
  script_buffer refusing("", script_buffer::areas);
  refusing.sync_result = -1;
  std::ostream tied(&refusing);
  out.tie(&tied);
  alignas(4) char k[sizeof(std::ostream::sentry)];
  library_output_sentry(reinterpret_cast<std::ostream::sentry*>(k), out);
  CHECK_EQ(tied.stream_state, ios_base::badbit);
  CHECK_EQ(out.stream_state, 0);
}
void get_char(std::istream& in, std::ostream&) {
  char c = 0;
  in.get(c);
  CHECK_EQ(c, 'Z');
}
void get_line_part(std::istream& in, std::ostream&) {
  char text[8];
  in.get(text, 8);
}
void get_line(std::istream& in, std::ostream&) {
  char text[8];
  in.getline(text, 8);
}
void ignore_one(std::istream& in, std::ostream&) { in.ignore(); }
void ignore_some(std::istream& in, std::ostream&) { in.ignore(3); }
void peek_char(std::istream& in, std::ostream&) { in.peek(); }
void read_block(std::istream& in, std::ostream&) {
  char text[8];
  in.read(text, 8);
}
void extract_to_buffer(std::istream& in, std::ostream&) {
  script_buffer target;
  in >> static_cast<std::basic_streambuf<char>*>(&target);
}
void put_char(std::istream&, std::ostream& out) { out.put('x'); }
void write_text(std::istream&, std::ostream& out) { out.write("xy", 2); }
void insert_from_buffer(std::istream&, std::ostream& out) {
  script_buffer source("abc");
  out << static_cast<std::basic_streambuf<char>*>(&source);
}
void insert_double(std::istream&, std::ostream& out) { out << 1.5; }
void insert_pointer(std::istream&, std::ostream& out) { out << static_cast<const void*>(0); }
void insert_bool_alpha(std::istream&, std::ostream& out) {
  out.setf(ios_base::boolalpha);
  out << true;
}
void insert_bool(std::istream&, std::ostream& out) { out << false; }
void insert_int(std::istream&, std::ostream& out) { out << -3; }
void insert_short(std::istream&, std::ostream& out) { out << static_cast<short>(3); }
void insert_unsigned(std::istream&, std::ostream& out) { out << 3u; }
void insert_c_string(std::istream&, std::ostream& out) { out << "text"; }
void insert_char(std::istream&, std::ostream& out) { out << 'c'; }
void tell_input(std::istream& in, std::ostream&) { in.tellg(); }
void tell_output(std::istream&, std::ostream& out) { out.tellp(); }
void seek_input(std::istream& in, std::ostream&) { in.seekg(0, ios_base::beg); }

struct by_name_case {
  const char* name;
  void (*run)(std::istream&, std::ostream&);
  replacement wanted;
};

const by_name_case cases[] = {
    {"input sentry reports through setstate", input_sentry_on_failed_stream, r_setstate},
    {"output sentry reports through setstate", output_sentry_on_failed_stream, r_setstate},
    {"output sentry reports a failed tie flush through setstate", output_sentry_with_failing_tie, r_setstate},
    {"get(char&) calls get()", get_char, r_get},
    {"get(char*, int) calls get(char*, int, char)", get_line_part, r_get_into},
    {"getline(char*, int) calls getline(char*, int, char)", get_line, r_getline},
    {"ignore() calls ignore(int, int)", ignore_one, r_ignore},
    {"ignore(int) calls ignore(int, int)", ignore_some, r_ignore},
    {"peek builds the input sentry", peek_char, r_input_sentry},
    {"read builds the input sentry", read_block, r_input_sentry},
    {"buffer extractor builds the input sentry", extract_to_buffer, r_input_sentry},
    {"put builds the output sentry", put_char, r_output_sentry},
    {"write builds the output sentry", write_text, r_output_sentry},
    {"buffer inserter builds the output sentry", insert_from_buffer, r_output_sentry},
    {"double inserter ends with the sentry's end step", insert_double, r_output_sentry_end},
    {"double inserter pads through _M_pad_write", insert_double, r_pad_write},
    {"pointer inserter ends with the sentry's end step", insert_pointer, r_output_sentry_end},
    {"pointer inserter pads through _M_pad_write", insert_pointer, r_pad_write},
    {"boolalpha inserter ends with the sentry's end step", insert_bool_alpha, r_output_sentry_end},
    {"boolalpha inserter pads through _M_pad_write", insert_bool_alpha, r_pad_write},
    {"bool inserter calls _M_insert<long>", insert_bool, r_insert_long},
    {"int inserter calls _M_insert<long>", insert_int, r_insert_long},
    {"short inserter calls _M_insert<long>", insert_short, r_insert_long},
    {"unsigned inserter calls _M_insert<unsigned long>", insert_unsigned, r_insert_unsigned_long},
    {"C-string inserter calls __ostream_insert", insert_c_string, r_ostream_insert},
    {"character inserter calls __ostream_insert", insert_char, r_ostream_insert},
    {"tellg asks fail()", tell_input, r_fail},
    {"tellp asks fail()", tell_output, r_fail},
    {"seekg calls clear", seek_input, r_clear},
};

void check_calls_by_name() {
  for (const by_name_case& c : cases) {
    check::set_case(c.name);
    script_buffer in_buffer("line\nmore", script_buffer::areas);
    script_buffer out_buffer("", script_buffer::areas);
    std::istream in(&in_buffer);
    std::ostream out(&out_buffer);
    reset();
    c.run(in, out);
    CHECK(reached[c.wanted] > 0);
  }
}

}

int main() {
  check_calls_by_name();
  return check::finish();
}
