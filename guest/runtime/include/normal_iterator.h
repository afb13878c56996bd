// __gnu_cxx::__normal_iterator: the one-pointer iterator class of the guest
// ABI's string. Only its type matters to the library (it appears in mangled
// names and is passed and returned as an object holding one pointer).
#ifndef TORVEL_NORMAL_ITERATOR_H
#define TORVEL_NORMAL_ITERATOR_H

#include "torvel_export.h"

namespace __gnu_cxx {

template<typename _Iterator, typename _Container>
class TORVEL_EXPORT __normal_iterator {
public:
  _Iterator _M_current;

  __normal_iterator() : _M_current() {}
  explicit __normal_iterator(const _Iterator& i) : _M_current(i) {}
  const _Iterator& base() const { return _M_current; }
};

}

#endif
