// The standard streams, their buffers and the facet placeholders as the
// library's initialiser leaves them, field by field.
#include <string.h>

#include "check.h"
#include "standard_streams.h"

extern "C" {
extern const char vt_istream[] __asm__("_ZTVSi");
extern const char vt_ostream[] __asm__("_ZTVSo");
extern const char ti_ctype_shape[] __asm__("_ZTISt16ctype_char_shape");
extern const char ti_stdio_buf[] __asm__("_ZTISt9stdio_buf");
// The C library's standard FILE pointers (its <stdio.h> would clash with the
// guest's conversion-state type).
extern void* const host_stdin __asm__("stdin");
extern void* const host_stdout __asm__("stdout");
extern void* const host_stderr __asm__("stderr");
}

namespace {

typedef const void* word;

word table_of(const void* object) { return *static_cast<const word*>(object); }

// The offset of the virtual base as the object's own table gives it.
long virtual_base_offset(const void* object) {
  return reinterpret_cast<const long*>(table_of(object))[-3];
}

struct standard_case {
  const char* name;
  const void* object;
  const char* table;
  long ios_offset;
  int flags;
  const std::ostream* tie;
  int buffer_index;
  void* host_file;
};

void check_standard_streams() {
  const std::basic_streambuf<char>* first_buffer = static_cast<std::basic_ios<char>&>(std::cin).rdbuf();
  const standard_case cases[] = {
      {"std::cin", &std::cin, vt_istream, 8, 0x1002, &std::cout, 0, host_stdin},
      {"std::cout", &std::cout, vt_ostream, 4, 0x1002, 0, 1, host_stdout},
      {"std::cerr", &std::cerr, vt_ostream, 4, 0x3002, &std::cout, 2, host_stderr},
      {"std::clog", &std::clog, vt_ostream, 4, 0x1002, 0, 3, host_stderr},
  };
  for (const standard_case& c : cases) {
    check::set_case(c.name);
    CHECK(table_of(c.object) == c.table + 12);
    CHECK_EQ(virtual_base_offset(c.object), c.ios_offset);
    const std::basic_ios<char>* ios =
        reinterpret_cast<const std::basic_ios<char>*>(static_cast<const char*>(c.object) + c.ios_offset);
    CHECK(table_of(ios) == c.table + 32);
    CHECK_EQ(ios->float_precision, 6);
    CHECK_EQ(ios->field_width, 0);
    CHECK_EQ(ios->format_flags, c.flags);
    CHECK_EQ(ios->exception_mask, 0);
    CHECK_EQ(ios->stream_state, 0);
    CHECK(ios->callback_head == 0);
    CHECK_EQ(ios->word_count, 8);
    CHECK(ios->words == ios->local_words);
    CHECK_TEXT(ios->stream_locale.locale_name, "C");
    CHECK(ios->stream_locale.locale_name == std::locale::classic().locale_name);
    CHECK(ios->tied_stream == c.tie);
    CHECK_EQ(ios->fill_char, 0);
    CHECK_EQ(ios->fill_set, 0);
    CHECK(ios->num_get_facet == static_cast<const char*>(ios->num_put_facet) + 8);
    CHECK(ios->ctype_facet == static_cast<const std::basic_ios<char>&>(std::cout).ctype_facet);
    if (c.ios_offset == 8) CHECK_EQ(reinterpret_cast<const std::istream*>(c.object)->extracted_count, 0);

    // The buffers lie back to back, 40 bytes each, in stream order.
    const std::basic_streambuf<char>* buffer = ios->stream_buffer;
    CHECK_EQ(reinterpret_cast<const char*>(buffer) - reinterpret_cast<const char*>(first_buffer), 40 * c.buffer_index);
    CHECK(reinterpret_cast<const word*>(table_of(buffer))[-1] == ti_stdio_buf);
    CHECK(buffer->get_begin == 0 && buffer->get_next == 0 && buffer->get_end == 0);
    CHECK(buffer->put_begin == 0 && buffer->put_next == 0 && buffer->put_end == 0);
    CHECK(buffer->buffer_locale.locale_name == std::locale::classic().locale_name);
    const unsigned char* raw = reinterpret_cast<const unsigned char*>(buffer);
    void* host_file;
    int last_char;
    memcpy(&host_file, raw + 32, 4);
    memcpy(&last_char, raw + 36, 4);
    CHECK(host_file == c.host_file);
    CHECK_EQ(last_char, -1);
  }
  check::set_case("std::ios_base::Init");
  CHECK_EQ(std::ios_base::Init::_S_refcount, 1);
}

void check_facets() {
  const std::basic_ios<char>& ios = std::cout;
  const std::ctype_char_shape* shape = ios.ctype_facet;
  check::set_case("the_ctype");
  const word* table = static_cast<const word*>(table_of(shape));
  CHECK(table[-2] == 0);
  CHECK(table[-1] == ti_ctype_shape);
  CHECK_EQ(shape->shape_ref_count, 1);
  CHECK(shape->native_locale == 0);
  CHECK_EQ(shape->owns_table, 0);
  CHECK(shape->upper_map == 0 && shape->lower_map == 0 && shape->class_table == 0);
  CHECK_EQ(shape->widen_ready, 1);
  CHECK_EQ(shape->narrow_ready, 1);
  for (int i = 0; i < 256; ++i) {
    CHECK_EQ(static_cast<unsigned char>(shape->widen_map[i]), i);
    CHECK_EQ(static_cast<unsigned char>(shape->narrow_map[i]), i);
  }
  const unsigned char* raw = reinterpret_cast<const unsigned char*>(shape);
  CHECK_EQ(raw[542], 0);
  CHECK_EQ(raw[543], 0);

  check::set_case("the_num_facet");
  const unsigned char* numbers = static_cast<const unsigned char*>(ios.num_put_facet);
  for (int i = 0; i < 16; ++i) CHECK_EQ(numbers[i], 0);
}

void check_classic_locale() {
  check::set_case("std::locale::classic()");
  const std::locale& first = std::locale::classic();
  CHECK(&first == &std::locale::classic());
  CHECK_TEXT(first.locale_name, "C");
  std::locale made;
  CHECK(made.locale_name == first.locale_name);
}

}

int main() {
  check_standard_streams();
  check_facets();
  check_classic_locale();
  return check::finish();
}
