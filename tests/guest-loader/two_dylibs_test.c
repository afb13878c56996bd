/* Two dylibs at once: a fixture dylib whose imports of libtorvelrt's
 * members are bound by name to the other dylib's shim, including a member
 * that Linux callers reach through an adapter (begin()). */
#include <stdio.h>

#include "test_host.h"

extern char* fixture_begin(void* s);
extern unsigned long fixture_length_of(const char* text);

/* std::string members, called from here the Linux way. */
extern void _ZNSsC1EPKcRKSaIcE(void* s, const char* text, const void* allocator);
extern void _ZNSsD1Ev(void* s);

int main(void) {
  int failures = 0;
  void* s;
  char allocator;
  _ZNSsC1EPKcRKSaIcE(&s, "hello", &allocator);

  /* Darwin code calling begin() by name: the unshared string's characters. */
  char* from_dylib = fixture_begin(&s);
  if (from_dylib != (char*)s) {
    printf("FAILED begin() through the fixture: %p, want %p\n", (void*)from_dylib, s);
    ++failures;
  }
  if (fixture_length_of("four") != 4) {
    printf("FAILED a string built by the fixture has length %lu, want 4\n", fixture_length_of("four"));
    ++failures;
  }
  if (fixture_length_of("") != 0) {
    printf("FAILED the empty string built by the fixture has length %lu\n", fixture_length_of(""));
    ++failures;
  }
  _ZNSsD1Ev(&s);
  printf("%d failure(s)\n", failures);
  return failures != 0;
}
