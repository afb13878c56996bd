// The flag, state, mode and direction enumerations of the stream classes,
// the offset and count types, and the 136-byte stream position. All values
// are the guest ABI's: game code carries them as constants.
#ifndef TORVEL_IOS_TYPES_H
#define TORVEL_IOS_TYPES_H

#include "char_traits.h"
#include "torvel_export.h"

// The conversion state of a stream position: 128 bytes, never interpreted
// here. Declared at global scope under this name so that the position type
// mangles as std::fpos<__mbstate_t>.
typedef union {
  char __mbstate8[128];
  long long _mbstateL;
} __mbstate_t;

namespace std {

typedef long long streamoff;
typedef int streamsize;

enum _Ios_Fmtflags {
  _S_boolalpha = 0x0001,
  _S_dec = 0x0002,
  _S_fixed = 0x0004,
  _S_hex = 0x0008,
  _S_internal = 0x0010,
  _S_left = 0x0020,
  _S_oct = 0x0040,
  _S_right = 0x0080,
  _S_scientific = 0x0100,
  _S_showbase = 0x0200,
  _S_showpoint = 0x0400,
  _S_showpos = 0x0800,
  _S_skipws = 0x1000,
  _S_unitbuf = 0x2000,
  _S_uppercase = 0x4000,
  _S_adjustfield = 0x00b0,
  _S_basefield = 0x004a,
  _S_floatfield = 0x0104,
  _S_ios_fmtflags_end = 0x10000
};

enum _Ios_Iostate {
  _S_goodbit = 0,
  _S_badbit = 1,
  _S_eofbit = 2,
  _S_failbit = 4,
  _S_ios_iostate_end = 0x10000
};

enum _Ios_Openmode {
  _S_app = 0x01,
  _S_ate = 0x02,
  _S_bin = 0x04,
  _S_in = 0x08,
  _S_out = 0x10,
  _S_trunc = 0x20,
  _S_ios_openmode_end = 0x10000
};

enum _Ios_Seekdir {
  _S_beg = 0,
  _S_cur = 1,
  _S_end = 2,
  _S_ios_seekdir_end = 0x10000
};

// A stream position: the signed 64-bit offset and the conversion state.
// Trivially copyable, so that it travels by value on the stack and comes
// back through a hidden pointer, as the guest ABI passes it.
template<typename _StateT> class fpos {
public:
  streamoff offset;
  _StateT conversion_state;

  fpos() : offset(0), conversion_state() {}
  fpos(streamoff off) : offset(off), conversion_state() {}
  operator streamoff() const { return offset; }
  _StateT state() const { return conversion_state; }
};

typedef fpos<__mbstate_t> streampos;

static_assert(sizeof(streampos) == 136, "fpos<__mbstate_t>");
static_assert(__builtin_offsetof(streampos, conversion_state) == 8, "fpos<__mbstate_t>::conversion_state");

template<typename _CharT, typename _Traits = char_traits<_CharT> > class TORVEL_EXPORT basic_ios;
template<typename _CharT, typename _Traits = char_traits<_CharT> > class TORVEL_EXPORT basic_streambuf;
template<typename _CharT, typename _Traits = char_traits<_CharT> > class TORVEL_EXPORT basic_istream;
template<typename _CharT, typename _Traits = char_traits<_CharT> > class TORVEL_EXPORT basic_ostream;
template<typename _CharT, typename _Traits = char_traits<_CharT> > class TORVEL_EXPORT basic_iostream;

typedef basic_ios<char> ios;
typedef basic_streambuf<char> streambuf;
typedef basic_istream<char> istream;
typedef basic_ostream<char> ostream;
typedef basic_iostream<char> iostream;

}

#endif
