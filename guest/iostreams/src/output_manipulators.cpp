// The character-sequence inserter every text inserter writes through, and
// the three output manipulators. Weak exports (function templates
// instantiated for char).
#include "ostream.h"

#include "buffer_steps.h"

namespace std {

template<typename _CharT, typename _Traits>
basic_ostream<_CharT, _Traits>& __ostream_insert(basic_ostream<_CharT, _Traits>& os, const _CharT* s,
                                                  streamsize n) {
  typename basic_ostream<_CharT, _Traits>::sentry guard(os);
  if (guard.ok) os._M_pad_write(s, n, 0);
  return os;
}

// The flush step of endl and flush: the buffer's sync, badbit when it fails.
template<typename _CharT, typename _Traits>
static void flush_step(basic_ostream<_CharT, _Traits>& os) {
  basic_ios<_CharT, _Traits>& ios = os;
  if (ios.stream_buffer != 0 && ios.stream_buffer->sync() == torvel_ios::end_of_file) ios.setstate(ios_base::badbit);
}

template<typename _CharT, typename _Traits>
basic_ostream<_CharT, _Traits>& endl(basic_ostream<_CharT, _Traits>& os) {
  os.put(10);
  flush_step(os);
  return os;
}

template<typename _CharT, typename _Traits>
basic_ostream<_CharT, _Traits>& ends(basic_ostream<_CharT, _Traits>& os) {
  return os.put(0);
}

template<typename _CharT, typename _Traits>
basic_ostream<_CharT, _Traits>& flush(basic_ostream<_CharT, _Traits>& os) {
  flush_step(os);
  return os;
}

template ostream& __ostream_insert(ostream&, const char*, streamsize);
template ostream& endl(ostream&);
template ostream& ends(ostream&);
template ostream& flush(ostream&);

}
