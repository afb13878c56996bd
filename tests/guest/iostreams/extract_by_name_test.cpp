// The extractors reach the library's template members, and libtorvelrt's
// string members, by name: this program's definitions of those names take
// their place for the library's own calls, as a game binary's would. Each
// definition records that it was reached (and with what); the library
// members that call them are driven from here.
#include "check.h"
#include "script_buffer.h"
#include "string_io.h"

namespace {

enum replacement {
  r_extract_short,
  r_extract_unsigned_short,
  r_extract_int,
  r_extract_unsigned_int,
  r_extract_long,
  r_extract_unsigned_long,
  r_extract_unsigned_long_long,
  r_read_number,
  r_input_sentry,
  r_c_string,
  r_getline,
  r_ostream_insert,
  r_setstate,
  r_string_clear,
  r_string_append,
  replacement_count
};

int reached[replacement_count];

// What the replacements saw.
int read_number_len;
bool read_number_is_float;
int extract_base_flags;  // the basefield bits when _M_extract<unsigned long> ran
char getline_delim;
int inserted_length;
char appended[512];
int appended_used;
int append_sizes[8];

void reset() {
  for (int& r : reached) r = 0;
  appended_used = 0;
  for (int& s : append_sizes) s = 0;
}

typedef std::basic_ios<char> ios_char;

template<replacement r> std::istream* record_extract(std::istream* s) {
  ++reached[r];
  return s;
}

}

// The program's own definitions under the library's names. Members take
// `this` as their first argument on this target, so plain functions with
// the members' symbol names stand in for them. _M_extract<long long> is
// left to the library, so that its own calls can be followed.
extern "C" {
std::istream* own_extract_short(std::istream* s, short&) __asm__("_ZNSi10_M_extractIsEERSiRT_");
std::istream* own_extract_short(std::istream* s, short&) { return record_extract<r_extract_short>(s); }
std::istream* own_extract_unsigned_short(std::istream* s, unsigned short&) __asm__("_ZNSi10_M_extractItEERSiRT_");
std::istream* own_extract_unsigned_short(std::istream* s, unsigned short&) {
  return record_extract<r_extract_unsigned_short>(s);
}
std::istream* own_extract_int(std::istream* s, int&) __asm__("_ZNSi10_M_extractIiEERSiRT_");
std::istream* own_extract_int(std::istream* s, int&) { return record_extract<r_extract_int>(s); }
std::istream* own_extract_unsigned_int(std::istream* s, unsigned int&) __asm__("_ZNSi10_M_extractIjEERSiRT_");
std::istream* own_extract_unsigned_int(std::istream* s, unsigned int&) {
  return record_extract<r_extract_unsigned_int>(s);
}
std::istream* own_extract_long(std::istream* s, long& v) __asm__("_ZNSi10_M_extractIlEERSiRT_");
std::istream* own_extract_long(std::istream* s, long& v) {
  v = 1;
  return record_extract<r_extract_long>(s);
}
std::istream* own_extract_unsigned_long(std::istream* s, unsigned long& v) __asm__("_ZNSi10_M_extractImEERSiRT_");
std::istream* own_extract_unsigned_long(std::istream* s, unsigned long& v) {
  extract_base_flags = s->flags() & std::ios_base::basefield;
  v = 0x1234;
  return record_extract<r_extract_unsigned_long>(s);
}
std::istream* own_extract_unsigned_long_long(std::istream* s, unsigned long long&) __asm__(
    "_ZNSi10_M_extractIyEERSiRT_");
std::istream* own_extract_unsigned_long_long(std::istream* s, unsigned long long&) {
  return record_extract<r_extract_unsigned_long_long>(s);
}

// Always finds the number 7.
int own_read_number(std::istream*, char* buf, int len, bool is_float) __asm__("_ZNSi11read_numberEPcib");
int own_read_number(std::istream*, char* buf, int len, bool is_float) {
  ++reached[r_read_number];
  read_number_len = len;
  read_number_is_float = is_float;
  buf[0] = '7';
  buf[1] = '\0';
  return 10;
}

// Lets every operation through, without skipping anything.
void own_input_sentry(std::istream::sentry* k, std::istream&, bool) __asm__("_ZNSi6sentryC1ERSib");
void own_input_sentry(std::istream::sentry* k, std::istream&, bool) {
  ++reached[r_input_sentry];
  k->ok = true;
}

std::istream* own_c_string(std::istream* s, char* text) __asm__(
    "_ZStrsIcSt11char_traitsIcEERSt13basic_istreamIT_T0_ES6_PS3_");
std::istream* own_c_string(std::istream* s, char* text) {
  ++reached[r_c_string];
  text[0] = '\0';
  return s;
}

std::istream* own_getline(std::istream* s, std::string&, char delim) __asm__(
    "_ZSt7getlineIcSt11char_traitsIcESaIcEERSt13basic_istreamIT_T0_ES7_RSbIS4_S5_T1_ES4_");
std::istream* own_getline(std::istream* s, std::string&, char delim) {
  ++reached[r_getline];
  getline_delim = delim;
  return s;
}

std::ostream* own_ostream_insert(std::ostream* s, const char*, int n) __asm__(
    "_ZSt16__ostream_insertIcSt11char_traitsIcEERSt13basic_ostreamIT_T0_ES6_PKS3_i");
std::ostream* own_ostream_insert(std::ostream* s, const char*, int n) {
  ++reached[r_ostream_insert];
  inserted_length = n;
  return s;
}

void own_setstate(ios_char* s, int state) __asm__("_ZNSt9basic_iosIcSt11char_traitsIcEE8setstateESt12_Ios_Iostate");
void own_setstate(ios_char* s, int state) {
  ++reached[r_setstate];
  s->stream_state = std::ios_base::iostate(s->stream_state | state);
}

// libtorvelrt's string members as the library reaches them. The string
// itself is left alone; what arrives is recorded. (Programs are built for
// Linux only, where size_t mangles as j.)
void own_string_clear(std::string*) __asm__("_ZNSs5clearEv");
void own_string_clear(std::string*) { ++reached[r_string_clear]; }

std::string* own_string_append(std::string* s, const char* text, std::size_t n) __asm__(
    "_ZNSs6appendEPKcj");
std::string* own_string_append(std::string* s, const char* text, std::size_t n) {
  if (reached[r_string_append] < 8) append_sizes[reached[r_string_append]] = static_cast<int>(n);
  ++reached[r_string_append];
  for (std::size_t i = 0; i < n && appended_used < static_cast<int>(sizeof appended) - 1; ++i)
    appended[appended_used++] = text[i];
  appended[appended_used] = '\0';
  return s;
}
}

namespace {

using std::ios_base;
const std::allocator<char> alloc;

// Extracts into a T and drops it: the calls it makes are what counts.
template<typename T> void extract(std::istream& in) {
  T v;
  in >> v;
}
void extract_long_long(std::istream& in) {
  long long v = 0;
  in >> v;
  CHECK_EQ(v, 7);
}
void extract_long_long_directly(std::istream& in) {
  long long v = 0;
  in._M_extract(v);
  CHECK_EQ(v, 7);
}
void extract_bool(std::istream& in) {
  bool v = false;
  in >> v;
  CHECK_EQ(v, true);
}
void extract_bool_directly(std::istream& in) {
  bool v = false;
  in._M_extract(v);
  CHECK_EQ(v, true);
}
void extract_pointer(std::istream& in) {
  in.setf(ios_base::oct, ios_base::basefield);
  void* v = 0;
  in >> v;
  CHECK_EQ(reinterpret_cast<unsigned long>(v), 0x1234);
  CHECK_EQ(extract_base_flags, ios_base::hex);
  CHECK_EQ(in.flags() & ios_base::basefield, ios_base::oct);
}
void extract_pointer_directly(std::istream& in) {
  void* v = 0;
  in._M_extract(v);
  CHECK_EQ(reinterpret_cast<unsigned long>(v), 0x1234);
}
void extract_double(std::istream& in) {
  double v = 0;
  in >> v;
  CHECK(v == 7.0);
  CHECK_EQ(read_number_len, 256);
  CHECK(read_number_is_float);
}
void extract_float(std::istream& in) {
  float v = 0;
  in >> v;
  CHECK(v == 7.0f);
  CHECK_EQ(read_number_len, 256);
}
void extract_long_double(std::istream& in) {
  long double v = 0;
  in >> v;
  CHECK(v == 7.0L);
}
void extract_char(std::istream& in) {
  char c;
  in >> c;
}
void extract_unsigned_char(std::istream& in) {
  unsigned char c;
  in >> c;
}
void extract_unsigned_c_string(std::istream& in) {
  unsigned char text[8];
  in >> text;
}
void extract_signed_c_string(std::istream& in) {
  signed char text[8];
  in >> text;
}
void extract_word(std::istream& in) {
  std::string s;
  in >> s;
}
void read_line(std::istream& in) {
  std::string s;
  std::getline(in, s);
  CHECK_EQ(getline_delim, '\n');
}
void skip_white(std::istream& in) { std::ws(in); }

struct by_name_case {
  const char* name;
  const char* input;
  void (*run)(std::istream&);
  replacement wanted;
};

const by_name_case cases[] = {
    {"short extractor calls _M_extract<short>", "1", extract<short>, r_extract_short},
    {"unsigned short extractor calls _M_extract<unsigned short>", "1", extract<unsigned short>,
     r_extract_unsigned_short},
    {"int extractor calls _M_extract<int>", "1", extract<int>, r_extract_int},
    {"unsigned int extractor calls _M_extract<unsigned int>", "1", extract<unsigned int>, r_extract_unsigned_int},
    {"long extractor calls _M_extract<long>", "1", extract<long>, r_extract_long},
    {"unsigned long extractor calls _M_extract<unsigned long>", "1", extract<unsigned long>, r_extract_unsigned_long},
    {"unsigned long long extractor calls _M_extract<unsigned long long>", "1", extract<unsigned long long>,
     r_extract_unsigned_long_long},
    {"long long extractor reaches read_number", "1", extract_long_long, r_read_number},
    {"_M_extract<long long> builds the input sentry", "1", extract_long_long_directly, r_input_sentry},
    {"_M_extract<long long> calls read_number", "1", extract_long_long_directly, r_read_number},
    {"bool extractor reaches _M_extract<long>", "1", extract_bool, r_extract_long},
    {"_M_extract<bool> calls _M_extract<long>", "1", extract_bool_directly, r_extract_long},
    {"pointer extractor calls _M_extract<unsigned long>", "1", extract_pointer, r_extract_unsigned_long},
    {"_M_extract<void*> calls _M_extract<unsigned long>", "1", extract_pointer_directly, r_extract_unsigned_long},
    {"double extractor calls read_number", "1", extract_double, r_read_number},
    {"double extractor builds the input sentry", "1", extract_double, r_input_sentry},
    {"float extractor calls read_number", "1", extract_float, r_read_number},
    {"long double extractor calls read_number", "1", extract_long_double, r_read_number},
    {"char extractor builds the input sentry", "a", extract_char, r_input_sentry},
    {"unsigned char extractor builds the input sentry", "a", extract_unsigned_char, r_input_sentry},
    {"unsigned char* extractor calls the char* form", "a", extract_unsigned_c_string, r_c_string},
    {"signed char* extractor calls the char* form", "a", extract_signed_c_string, r_c_string},
    {"string extractor builds the input sentry", "ab", extract_word, r_input_sentry},
    {"string extractor clears through libtorvelrt", "ab", extract_word, r_string_clear},
    {"string extractor appends through libtorvelrt", "ab", extract_word, r_string_append},
    {"string extractor at end of file calls setstate", "ab", extract_word, r_setstate},
    {"two-argument getline calls the three-argument form", "ab\n", read_line, r_getline},
    {"ws at end of file calls setstate", " ", skip_white, r_setstate},
};

void check_calls_by_name() {
  for (const by_name_case& c : cases) {
    check::set_case(c.name);
    script_buffer buffer(c.input, script_buffer::areas);
    std::istream in(&buffer);
    reset();
    c.run(in);
    CHECK(reached[c.wanted] > 0);
  }
}

// 300 characters reach the string in batches of 128, all in order.
void check_batches() {
  char text[301];
  for (int i = 0; i < 300; ++i) text[i] = static_cast<char>('a' + i % 26);
  text[300] = '\0';
  check::set_case("string extractor appends in batches of 128");
  script_buffer buffer(text, script_buffer::trickle);
  std::istream in(&buffer);
  std::string s;
  reset();
  in >> s;
  CHECK_EQ(reached[r_string_append], 3);
  CHECK_EQ(append_sizes[0], 128);
  CHECK_EQ(append_sizes[1], 128);
  CHECK_EQ(append_sizes[2], 44);
  CHECK_TEXT(appended, text);
}

void check_string_inserter() {
  check::set_case("string inserter calls __ostream_insert with the length");
  script_buffer buffer("", script_buffer::areas);
  std::ostream out(&buffer);
  std::string s("a\0bc", 4, alloc);
  reset();
  out << s;
  CHECK_EQ(reached[r_ostream_insert], 1);
  CHECK_EQ(inserted_length, 4);
}

}

int main() {
  check_calls_by_name();
  check_batches();
  check_string_inserter();
  return check::finish();
}
