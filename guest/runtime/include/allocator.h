// std::allocator of the guest ABI: an empty class whose constructors and
// destructor do nothing. The strings ignore their allocator arguments and
// allocate with the host's malloc. The members are inline so that the
// library's own uses cost nothing; the explicit instantiations in
// allocators.cpp export the variants the guest ABI names.
#ifndef TORVEL_ALLOCATOR_H
#define TORVEL_ALLOCATOR_H

#include "torvel_export.h"

namespace std {

template<typename _Tp>
class TORVEL_EXPORT allocator {
public:
  typedef _Tp value_type;

  allocator() throw() {}
  allocator(const allocator&) throw() {}
  ~allocator() throw() {}
};

}

#endif
