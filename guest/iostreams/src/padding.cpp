// std::ostream::_M_pad_write: the one writer behind every formatted
// inserter, numbers and text alike. It applies the field width, the fill
// character and the adjustment, hands the text to the buffer's xsputn and
// turns a short write into badbit. Weak export (explicit instantiation).
#include "ostream.h"

#include "c_library.h"

namespace std {

// Field width, fill and adjustment. The width is spent at once, whatever
// follows; the fill is written in 64-byte chunks however wide the field.
template<typename _CharT, typename _Traits>
void basic_ostream<_CharT, _Traits>::_M_pad_write(const char_type* s, streamsize n, streamsize split) {
  __ios_type& ios = *this;
  streamsize pad = ios.field_width - n;
  ios.field_width = 0;
  __streambuf_type* out = ios.stream_buffer;
  // A stream without a buffer takes nothing: badbit, as for a short write.
  if (out == 0) {
    ios.setstate(ios_base::badbit);
    return;
  }
  if (pad <= 0) {
    if (out->xsputn(s, n) != n) ios.setstate(ios_base::badbit);
    return;
  }
  char block[64];
  memset(block, ios.fill(), sizeof block);
  int adjust = ios.format_flags & ios_base::adjustfield;
  streamsize head = adjust == ios_base::internal ? split : 0;
  if (adjust == ios_base::left) {
    if (out->xsputn(s, n) != n) ios.setstate(ios_base::badbit);
  } else if (out->xsputn(s, head) != head) {
    ios.setstate(ios_base::badbit);
  }
  while (pad > 0 && !(ios.stream_state & ios_base::badbit)) {
    streamsize chunk = pad < 64 ? pad : 64;
    if (out->xsputn(block, chunk) != chunk) ios.setstate(ios_base::badbit);
    pad -= chunk;
  }
  if (adjust != ios_base::left && out->xsputn(s + head, n - head) != n - head) ios.setstate(ios_base::badbit);
}

template void basic_ostream<char>::_M_pad_write(const char*, streamsize, streamsize);

}
