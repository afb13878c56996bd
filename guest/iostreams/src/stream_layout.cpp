// The sizes and offsets game code was compiled against. Nothing here runs:
// the build stops when a class of this library drifts from them.
#include "istream.h"
#include "stdio_buf.h"

#define FIELD_AT(type, field, offset) static_assert(__builtin_offsetof(type, field) == (offset), #type "::" #field)

#pragma GCC diagnostic ignored "-Winvalid-offsetof"

namespace {

using std::basic_ios;
using std::basic_streambuf;
using std::ctype_char_shape;
using std::ios_base;
using std::locale;

static_assert(sizeof(locale) == 4, "locale");
FIELD_AT(locale, locale_name, 0);

static_assert(sizeof(ios_base) == 112, "ios_base");
FIELD_AT(ios_base, float_precision, 4);
FIELD_AT(ios_base, field_width, 8);
FIELD_AT(ios_base, format_flags, 12);
FIELD_AT(ios_base, exception_mask, 16);
FIELD_AT(ios_base, stream_state, 20);
FIELD_AT(ios_base, callback_head, 24);
FIELD_AT(ios_base, fallback_word, 28);
FIELD_AT(ios_base, local_words, 36);
FIELD_AT(ios_base, word_count, 100);
FIELD_AT(ios_base, words, 104);
FIELD_AT(ios_base, stream_locale, 108);
static_assert(sizeof(ios_base::_Words) == 8, "word slot");
static_assert(sizeof(ios_base::callback_node) == 16, "callback node");

typedef basic_ios<char> ios_char;
static_assert(sizeof(ios_char) == 136, "basic_ios<char>");
FIELD_AT(ios_char, tied_stream, 112);
FIELD_AT(ios_char, fill_char, 116);
FIELD_AT(ios_char, fill_set, 117);
FIELD_AT(ios_char, fill_padding, 118);
FIELD_AT(ios_char, stream_buffer, 120);
FIELD_AT(ios_char, ctype_facet, 124);
FIELD_AT(ios_char, num_put_facet, 128);
FIELD_AT(ios_char, num_get_facet, 132);

typedef basic_streambuf<char> streambuf_char;
static_assert(sizeof(streambuf_char) == 32, "basic_streambuf<char>");
FIELD_AT(streambuf_char, get_begin, 4);
FIELD_AT(streambuf_char, get_next, 8);
FIELD_AT(streambuf_char, get_end, 12);
FIELD_AT(streambuf_char, put_begin, 16);
FIELD_AT(streambuf_char, put_next, 20);
FIELD_AT(streambuf_char, put_end, 24);
FIELD_AT(streambuf_char, buffer_locale, 28);

static_assert(sizeof(std::istream) == 144, "istream");
FIELD_AT(std::istream, extracted_count, 4);
static_assert(sizeof(std::ostream) == 140, "ostream");
static_assert(sizeof(std::iostream) == 148, "iostream");
static_assert(sizeof(std::streampos) == 136, "fpos<__mbstate_t>");
FIELD_AT(std::streampos, conversion_state, 8);

static_assert(sizeof(std::istream::sentry) == 1, "istream::sentry");
static_assert(sizeof(std::ostream::sentry) == 8, "ostream::sentry");
FIELD_AT(std::ostream::sentry, ok, 0);
FIELD_AT(std::ostream::sentry, sentry_stream, 4);

static_assert(sizeof(ctype_char_shape) == 544, "ctype_char_shape");
FIELD_AT(ctype_char_shape, shape_ref_count, 4);
FIELD_AT(ctype_char_shape, native_locale, 8);
FIELD_AT(ctype_char_shape, owns_table, 12);
FIELD_AT(ctype_char_shape, upper_map, 16);
FIELD_AT(ctype_char_shape, lower_map, 20);
FIELD_AT(ctype_char_shape, class_table, 24);
FIELD_AT(ctype_char_shape, widen_ready, 28);
FIELD_AT(ctype_char_shape, widen_map, 29);
FIELD_AT(ctype_char_shape, narrow_map, 285);
FIELD_AT(ctype_char_shape, narrow_ready, 541);

static_assert(sizeof(std::stdio_buf) == 40, "stdio_buf");
FIELD_AT(std::stdio_buf, host_file, 32);
FIELD_AT(std::stdio_buf, last_char, 36);

static_assert(sizeof(ios_base::Init) == 1, "ios_base::Init");

}
