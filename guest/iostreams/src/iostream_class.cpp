// std::iostream: an istream at +0 and an ostream at +8 sharing one
// basic_ios<char> at +12. Its VTT and the two construction virtual tables
// come out of this unit; weak exports (explicit instantiation).
#include "istream.h"

namespace std {

template<typename _CharT, typename _Traits>
basic_iostream<_CharT, _Traits>::basic_iostream(__streambuf_type* sb)
    : basic_istream<_CharT, _Traits>(sb), basic_ostream<_CharT, _Traits>(sb) {}

template<typename _CharT, typename _Traits>
basic_iostream<_CharT, _Traits>::basic_iostream()
    : basic_istream<_CharT, _Traits>(0), basic_ostream<_CharT, _Traits>(0) {}

template<typename _CharT, typename _Traits>
basic_iostream<_CharT, _Traits>::~basic_iostream() {}

template class basic_iostream<char>;

}
