// std::allocator<char> and std::allocator<wchar_t>: empty classes whose
// constructors and destructors the guest calls by name.
#include "allocator.h"
#include "host_names.h"

namespace std {

template class allocator<char>;

// The wide allocator exports only its complete-object default constructor
// and destructor.
template allocator<wchar_t>::allocator();
template allocator<wchar_t>::~allocator();

}

TORVEL_HIDE_SYMBOL("_ZNSaIwEC2Ev");
TORVEL_HIDE_SYMBOL("_ZNSaIwED2Ev");
