// std::locale: one name, "C", and nothing behind it.
#include "guest_locale.h"

extern "C" {
int __cxa_guard_acquire(long long* guard);
void __cxa_guard_release(long long* guard);
}

namespace std {

static const char classic_name[] = "C";

locale::locale() throw() : locale_name(classic_name) {}

locale::locale(const locale& other) throw() : locale_name(other.locale_name) {}

locale::~locale() throw() {}

const locale& locale::operator=(const locale& other) throw() {
  locale_name = other.locale_name;
  return *this;
}

const locale& locale::classic() {
  // Plain storage set up under the one-time guard, rather than a static
  // locale object, whose destructor would be registered to run at exit.
  static long long guard;
  static struct {
    const char* locale_name;
  } c;
  if (__atomic_load_n(reinterpret_cast<unsigned char*>(&guard), __ATOMIC_ACQUIRE) == 0 &&
      __cxa_guard_acquire(&guard)) {
    c.locale_name = classic_name;
    __cxa_guard_release(&guard);
  }
  return *reinterpret_cast<const locale*>(&c);
}

}
