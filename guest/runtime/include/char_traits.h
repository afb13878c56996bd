// std::char_traits of the guest ABI. The string members take the traits only
// as a template argument (it is part of every mangled string name); the
// character operations themselves live in the library's internal routines.
#ifndef TORVEL_CHAR_TRAITS_H
#define TORVEL_CHAR_TRAITS_H

#include "torvel_export.h"

namespace std {

template<typename _CharT> struct TORVEL_EXPORT char_traits;

template<> struct TORVEL_EXPORT char_traits<char> {
  typedef char char_type;
  typedef int int_type;
};

template<> struct TORVEL_EXPORT char_traits<wchar_t> {
  typedef wchar_t char_type;
  typedef unsigned int int_type;
};

}

#endif
