// The __gnu_cxx atomics: single locked read-modify-writes of an aligned
// 32-bit word, full barriers, as the sharing count of the strings needs.
#include "atomicity.h"

namespace __gnu_cxx {

int __exchange_and_add(int volatile* word, int value) throw() {
  return __atomic_fetch_add(word, value, __ATOMIC_SEQ_CST);
}

void __atomic_add(int volatile* word, int value) throw() {
  __atomic_fetch_add(word, value, __ATOMIC_SEQ_CST);
}

}
