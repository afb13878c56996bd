// std::string on the streams: the word extractor, std::getline and the
// inserter. The strings are libtorvelrt's; this library only calls their
// members by name and reads their length word.
#ifndef TORVEL_STRING_IO_H
#define TORVEL_STRING_IO_H

#include "istream.h"
#include "shared_string.h"

namespace std {

template<typename _CharT, typename _Traits, typename _Alloc>
TORVEL_EXPORT basic_istream<_CharT, _Traits>& operator>>(basic_istream<_CharT, _Traits>& in,
                                                          basic_string<_CharT, _Traits, _Alloc>& str);
template<typename _CharT, typename _Traits, typename _Alloc>
TORVEL_EXPORT basic_istream<_CharT, _Traits>& getline(basic_istream<_CharT, _Traits>& in,
                                                       basic_string<_CharT, _Traits, _Alloc>& str, _CharT delim);
template<typename _CharT, typename _Traits, typename _Alloc>
TORVEL_EXPORT basic_istream<_CharT, _Traits>& getline(basic_istream<_CharT, _Traits>& in,
                                                       basic_string<_CharT, _Traits, _Alloc>& str);
template<typename _CharT, typename _Traits, typename _Alloc>
TORVEL_EXPORT basic_ostream<_CharT, _Traits>& operator<<(basic_ostream<_CharT, _Traits>& out,
                                                          const basic_string<_CharT, _Traits, _Alloc>& str);

extern template istream& operator>>(istream&, string&);
extern template istream& getline(istream&, string&, char);
extern template istream& getline(istream&, string&);
extern template ostream& operator<<(ostream&, const string&);

}

#endif
