// Test-only adapter for client programs. Today's library headers, inlined at
// -O2 in the old string ABI, call names the legacy library never exported
// (its own headers inlined them or did without): the five the string and
// ctype headers need, plus std::__throw_bad_array_new_length() from
// today's allocator and the two search forms that the legacy headers
// inlined on top of their counted forms. Each is built here from what
// libtorvelrt does export, so that a client program links; none of them is
// part of the product library.
// The names are spelled out for the Linux i386 build, where size_t mangles
// as "j": client programs exist only there.
#include <stddef.h>
#include <string.h>

namespace {

struct rep_header {
  size_t length;
  size_t capacity;
  int ref_count;
};

char* chars_of(rep_header* rep) { return reinterpret_cast<char*>(rep + 1); }

}

extern "C" {

// What libtorvelrt exports.
rep_header* torvel_string_create(size_t capacity, size_t old_capacity, const void* alloc)
    __asm__("_ZNSs4_Rep9_S_createEjjRKSaIcE");
void torvel_string_leak_hard(void* self) __asm__("_ZNSs12_M_leak_hardEv");
void torvel_atomic_add(volatile int* word, int value) __asm__("_ZN9__gnu_cxx12__atomic_addEPVii");
size_t torvel_find_first_of(const void* self, const char* s, size_t pos, size_t n)
    __asm__("_ZNKSs13find_first_ofEPKcjj");
size_t torvel_find_last_not_of(const void* self, const char* s, size_t pos, size_t n)
    __asm__("_ZNKSs16find_last_not_ofEPKcjj");
__attribute__((noreturn)) void torvel_throw_bad_alloc() __asm__("_ZSt17__throw_bad_allocv");
extern size_t torvel_string_empty_storage[] __asm__("_ZNSs4_Rep20_S_empty_rep_storageE");

// std::string::_S_construct(size_t n, char c, const allocator&): the
// characters of a new string of n copies of c.
char* adapter_construct_copies(size_t n, char c, const void* alloc) __asm__("_ZNSs12_S_constructEjcRKSaIcE");
char* adapter_construct_copies(size_t n, char c, const void* alloc) {
  if (n == 0) return chars_of(reinterpret_cast<rep_header*>(torvel_string_empty_storage));
  rep_header* rep = torvel_string_create(n, 0, alloc);
  memset(chars_of(rep), c, n);
  rep->length = n;
  rep->ref_count = 0;
  chars_of(rep)[n] = '\0';
  return chars_of(rep);
}

// std::string::_M_leak(): leaks unless already leaked.
void adapter_leak(void* self) __asm__("_ZNSs7_M_leakEv");
void adapter_leak(void* self) {
  rep_header* rep = reinterpret_cast<rep_header*>(*static_cast<char**>(self)) - 1;
  if (rep->ref_count >= 0) torvel_string_leak_hard(self);
}

// std::string::_Rep::_M_clone(const allocator&, size_t extra): a private
// copy with room for extra more characters.
char* adapter_clone(rep_header* self, const void* alloc, size_t extra) __asm__("_ZNSs4_Rep8_M_cloneERKSaIcEj");
char* adapter_clone(rep_header* self, const void* alloc, size_t extra) {
  rep_header* rep = torvel_string_create(self->length + extra, self->capacity, alloc);
  memcpy(chars_of(rep), chars_of(self), self->length);
  rep->length = self->length;
  rep->ref_count = 0;
  chars_of(rep)[self->length] = '\0';
  return chars_of(rep);
}

// std::string::_Rep::_M_refcopy(): one more owner, unless empty.
char* adapter_refcopy(rep_header* self) __asm__("_ZNSs4_Rep10_M_refcopyEv");
char* adapter_refcopy(rep_header* self) {
  if (self != reinterpret_cast<rep_header*>(torvel_string_empty_storage)) torvel_atomic_add(&self->ref_count, 1);
  return chars_of(self);
}

// std::ctype<char>::_M_widen_init() const: never reached, the placeholder
// facet reports its widen table as ready.
void adapter_widen_init(const void* self) __asm__("_ZNKSt5ctypeIcE13_M_widen_initEv");
void adapter_widen_init(const void*) {}

// std::string::find_first_of(const char*, size_t) const
size_t adapter_find_first_of(const void* self, const char* s, size_t pos) __asm__("_ZNKSs13find_first_ofEPKcj");
size_t adapter_find_first_of(const void* self, const char* s, size_t pos) {
  return torvel_find_first_of(self, s, pos, strlen(s));
}

// std::string::find_last_not_of(const char*, size_t) const
size_t adapter_find_last_not_of(const void* self, const char* s, size_t pos) __asm__("_ZNKSs16find_last_not_ofEPKcj");
size_t adapter_find_last_not_of(const void* self, const char* s, size_t pos) {
  return torvel_find_last_not_of(self, s, pos, strlen(s));
}

// std::__throw_bad_array_new_length(): an allocation size that overflows,
// reported as the allocation failure the legacy headers raised for it.
void adapter_throw_bad_array_new_length() __asm__("_ZSt28__throw_bad_array_new_lengthv");
void adapter_throw_bad_array_new_length() { torvel_throw_bad_alloc(); }

}

// Today's C-string extractor goes through std::__istream_extract(istream&,
// char*, streamsize n), n being the size of the destination array (or the
// largest streamsize when it is unknown). It cannot hand over to the char*
// extractor of libtorvelios: today's header defines a char* extractor of
// its own under the same name, which the program exports and which calls
// back here. So the extraction is done here, with the rules of the legacy
// one, through the input sentry, setstate and the buffer steps that
// libtorvelios exports. Weak references: programs that use no stream do not
// link libtorvelios.
extern "C" {

void torvel_input_sentry(bool* ok, void* in, bool noskipws) __asm__("_ZNSi6sentryC1ERSib") __attribute__((weak));
void torvel_setstate(void* ios, int state) __asm__("_ZNSt9basic_iosIcSt11char_traitsIcEE8setstateESt12_Ios_Iostate")
    __attribute__((weak));
int torvel_sgetc(void* buffer) __asm__("_ZNSt15basic_streambufIcSt11char_traitsIcEE5sgetcEv") __attribute__((weak));
int torvel_snextc(void* buffer) __asm__("_ZNSt15basic_streambufIcSt11char_traitsIcEE6snextcEv") __attribute__((weak));

// A word of at most n - 1 characters, fewer when a smaller width is set;
// the width is spent. The basic_ios<char> virtual base lies at the offset
// the stream's table holds at address point - 12; its width is at +8, its
// buffer at +120.
void adapter_istream_extract(char* in, char* s, int n) __asm__("_ZSt17__istream_extractRSiPci");
void adapter_istream_extract(char* in, char* s, int n) {
  const int eofbit = 2, failbit = 4;
  char* ios = in + (*reinterpret_cast<int**>(in))[-3];
  int* width = reinterpret_cast<int*>(ios + 8);
  int limit = *width > 0 && *width < n ? *width : n;
  bool ok = false;
  torvel_input_sentry(&ok, in, false);
  if (!ok) {
    torvel_setstate(ios, failbit);
    return;
  }
  void* buffer = *reinterpret_cast<void**>(ios + 120);
  int stored = 0;
  int c = torvel_sgetc(buffer);
  while (stored < limit - 1 && c != -1 && c != ' ' && !(c >= '\t' && c <= '\r')) {
    s[stored++] = static_cast<char>(c);
    c = torvel_snextc(buffer);
  }
  if (c == -1) torvel_setstate(ios, eofbit);
  s[stored] = '\0';
  *width = 0;
  if (stored == 0) torvel_setstate(ios, failbit);
}

}
