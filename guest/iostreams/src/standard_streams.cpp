// The standard streams and std::ios_base::Init. The stream objects lie in
// zero-filled storage and are built in place by the first Init, field by
// field (no stream constructor runs); the last Init to go flushes the three
// output streams. Nothing is ever destroyed.
#include "facets.h"
#include "host_names.h"
#include "istream.h"
#include "state_change.h"
#include "stdio_buf.h"

#include "c_library.h"

#include "placement.h"

TORVEL_HIDE_SYMBOL("_ZTVSt9stdio_buf");

// The stream objects under their exported names, sized as the classes are.
extern "C" {
TORVEL_EXPORT __attribute__((aligned(4))) unsigned char torvel_cin[sizeof(std::istream)] __asm__(TORVEL_HOST_SYMBOL(_ZSt3cin));
TORVEL_EXPORT __attribute__((aligned(4))) unsigned char torvel_cout[sizeof(std::ostream)] __asm__(TORVEL_HOST_SYMBOL(_ZSt4cout));
TORVEL_EXPORT __attribute__((aligned(4))) unsigned char torvel_cerr[sizeof(std::ostream)] __asm__(TORVEL_HOST_SYMBOL(_ZSt4cerr));
TORVEL_EXPORT __attribute__((aligned(4))) unsigned char torvel_clog[sizeof(std::ostream)] __asm__(TORVEL_HOST_SYMBOL(_ZSt4clog));

// The virtual tables of the two stream classes, reached by name.
extern const char torvel_istream_vtable[] __asm__(TORVEL_HOST_SYMBOL(_ZTVSi));
extern const char torvel_ostream_vtable[] __asm__(TORVEL_HOST_SYMBOL(_ZTVSo));
}

// Storage of the four stream buffers: standard input, output, error, error.
alignas(4) unsigned char bufs_mem[4][sizeof(std::stdio_buf)];

namespace std {

int ios_base::Init::_S_refcount = 0;
alignas(4) bool ios_base::Init::_S_synced_with_stdio = true;

static stdio_buf* buffer_at(int i) { return reinterpret_cast<stdio_buf*>(bufs_mem[i]); }

// One stream in place: the two table pointers, then the values the
// basic_ios initialisation gives a stream with a buffer.
static basic_ios<char>* build_stream(unsigned char* object, const char* vtable, int ios_offset, stdio_buf* buffer,
                                     int flags, ostream* tie) {
  memset(object, 0, ios_offset + sizeof(basic_ios<char>));
  *reinterpret_cast<const char**>(object) = vtable + 12;
  basic_ios<char>* ios = reinterpret_cast<basic_ios<char>*>(object + ios_offset);
  *reinterpret_cast<const char**>(ios) = vtable + 32;
  ios->float_precision = 6;
  ios->format_flags = ios_base::fmtflags(flags);
  ios->word_count = 8;
  ios->words = ios->local_words;
  ios->stream_locale.locale_name = locale::classic().locale_name;
  ios->tied_stream = tie;
  ios->stream_buffer = buffer;
  ios->ctype_facet = reinterpret_cast<const ctype_char_shape*>(the_ctype);
  ios->num_put_facet = the_num_facet;
  ios->num_get_facet = the_num_facet + 8;
  return ios;
}

ios_base::Init::Init() {
  int before = _S_refcount;
  _S_refcount = before + 1;
  if (before != 0) return;
  new (bufs_mem[0]) stdio_buf(torvel_host_stdin);
  new (bufs_mem[1]) stdio_buf(torvel_host_stdout);
  new (bufs_mem[2]) stdio_buf(torvel_host_stderr);
  new (bufs_mem[3]) stdio_buf(torvel_host_stderr);
  ostream* out = reinterpret_cast<ostream*>(torvel_cout);
  build_stream(torvel_cin, torvel_istream_vtable, 8, buffer_at(0), _S_skipws | _S_dec, out);
  build_stream(torvel_cout, torvel_ostream_vtable, 4, buffer_at(1), _S_skipws | _S_dec, 0);
  build_stream(torvel_cerr, torvel_ostream_vtable, 4, buffer_at(2), _S_skipws | _S_unitbuf | _S_dec, out);
  build_stream(torvel_clog, torvel_ostream_vtable, 4, buffer_at(3), _S_skipws | _S_dec, 0);
}

// What ostream::flush() does, on the stream's basic_ios part.
static void flush_at_exit(unsigned char* object) {
  basic_ios<char>* ios = reinterpret_cast<basic_ios<char>*>(object + 4);
  if (ios->stream_buffer != 0 && ios->stream_buffer->sync() == -1)
    torvel_ios::change_state_checked(*ios, ios->stream_state | _S_badbit);
}

ios_base::Init::~Init() {
  int after = _S_refcount - 1;
  _S_refcount = after;
  if (after != 0) return;
  flush_at_exit(torvel_cout);
  flush_at_exit(torvel_cerr);
  flush_at_exit(torvel_clog);
}

}
