// The members of the shared string template, for both element types. Each
// member works through the routines of string_core.h with the element size
// and empty representation of its own instantiation; members never call
// other exported members, so an instantiation exports exactly the members
// named in its explicit instantiation list (narrow_string.cpp,
// wide_string.cpp) and nothing the compiler instantiated on the side.
#ifndef TORVEL_SHARED_STRING_MEMBERS_H
#define TORVEL_SHARED_STRING_MEMBERS_H

#include "c_library.h"
#include "shared_string.h"
#include "string_core.h"
#include "string_search.h"

namespace torvel_rt TORVEL_INTERNAL {

// The members hand the public header (std::basic_string::_Rep) to the core
// routines as a rep_header and back: one cast, so the two declarations must
// stay the same words at the same offsets.
template<typename Rep>
constexpr bool same_words_as_rep_header() {
  return sizeof(Rep) == sizeof(rep_header) &&
         __builtin_offsetof(Rep, length) == __builtin_offsetof(rep_header, length) &&
         sizeof(Rep::length) == sizeof(rep_header::length) &&
         __builtin_offsetof(Rep, capacity) == __builtin_offsetof(rep_header, capacity) &&
         sizeof(Rep::capacity) == sizeof(rep_header::capacity) &&
         __builtin_offsetof(Rep, ref_count) == __builtin_offsetof(rep_header, ref_count) &&
         sizeof(Rep::ref_count) == sizeof(rep_header::ref_count);
}
static_assert(same_words_as_rep_header<std::string::_Rep>(), "std::string::_Rep and rep_header disagree");
static_assert(same_words_as_rep_header<std::wstring::_Rep>(), "std::wstring::_Rep and rep_header disagree");

template<typename S>
inline element_kind kind_of() {
  element_kind kind = {sizeof(typename S::value_type),
                       reinterpret_cast<rep_header*>(S::_Rep::_S_empty_rep_storage)};
  return kind;
}

template<typename C>
inline C* empty_chars_of(size_t* storage) {
  return reinterpret_cast<C*>(reinterpret_cast<byte*>(storage) + rep_header_size);
}

// The string object is its character pointer.
template<typename S>
inline byte** slot_of(S* s) { return reinterpret_cast<byte**>(s); }

template<typename C>
inline const C* chars_in(const void* s) { return *static_cast<C* const*>(s); }

template<typename C>
inline size_t length_in(const void* s) { return header_of(chars_in<C>(s))->length; }

template<typename C>
inline void fill(C* dst, C c, size_t n) {
  for (size_t i = 0; i < n; ++i) dst[i] = c;
}

template<>
inline void fill<char>(char* dst, char c, size_t n) { memset(dst, c, n); }

inline size_t clamp(size_t n, size_t available) { return n < available ? n : available; }

// The wide string reports a bad substring position under its own name.
template<typename C> struct messages;
template<> struct messages<char> {
  static const char* substr() { return "basic_string::basic_string"; }
};
template<> struct messages<wchar_t> {
  static const char* substr() { return "wstring::substr"; }
};

// The body of replace(pos, len1, len2, c) and _M_replace_aux.
template<typename C>
inline void replace_with_copies(byte** slot, size_t pos, size_t len1, size_t len2, C c,
                                const element_kind& kind) {
  size_t length = header_of(*slot)->length;
  if (pos > length) report_out_of_range("basic_string::_M_replace_aux");
  mutate(slot, pos, clamp(len1, length - pos), len2, kind);
  fill(reinterpret_cast<C*>(*slot) + pos, c, len2);
}

}

namespace std {

#define TORVEL_STRING_TEMPLATE template<typename C, typename T, typename A>
#define TORVEL_STRING basic_string<C, T, A>

// ----- statics and representation -----

TORVEL_STRING_TEMPLATE
typename TORVEL_STRING::size_type TORVEL_STRING::_Rep::_S_empty_rep_storage[
    (sizeof(typename TORVEL_STRING::_Rep) + sizeof(C) + sizeof(size_t) - 1) / sizeof(size_t)];

TORVEL_STRING_TEMPLATE
const C TORVEL_STRING::_Rep::_S_terminal = C();

TORVEL_STRING_TEMPLATE
typename TORVEL_STRING::_Rep* TORVEL_STRING::_Rep::_S_create(size_type capacity, size_type old_capacity, const A&) {
  return reinterpret_cast<_Rep*>(torvel_rt::create(capacity, old_capacity, sizeof(C)));
}

TORVEL_STRING_TEMPLATE
void TORVEL_STRING::_Rep::_M_dispose(const A&) {
  torvel_rt::dispose(reinterpret_cast<torvel_rt::rep_header*>(this), torvel_rt::kind_of<TORVEL_STRING>());
}

TORVEL_STRING_TEMPLATE
void TORVEL_STRING::_Rep::_M_destroy(const A&) {
  free(this);
}

TORVEL_STRING_TEMPLATE
inline void TORVEL_STRING::_Rep::_M_set_length_and_sharable(size_type n) {
  torvel_rt::set_length_and_sharable(reinterpret_cast<torvel_rt::rep_header*>(this), n,
                                     torvel_rt::kind_of<TORVEL_STRING>());
}

TORVEL_STRING_TEMPLATE
inline C* TORVEL_STRING::_Rep::_M_refdata() throw() {
  return reinterpret_cast<C*>(this + 1);
}

TORVEL_STRING_TEMPLATE
inline TORVEL_STRING::_Alloc_hider::_Alloc_hider(C* p, const A& a) : A(a), _M_p(p) {}

TORVEL_STRING_TEMPLATE
inline typename TORVEL_STRING::_Rep& TORVEL_STRING::_S_empty_rep() {
  return *reinterpret_cast<_Rep*>(_Rep::_S_empty_rep_storage);
}

TORVEL_STRING_TEMPLATE
void TORVEL_STRING::_S_copy_chars(C* dst, const_iterator first, const_iterator last) {
  memcpy(dst, first.base(), (last.base() - first.base()) * sizeof(C));
}

TORVEL_STRING_TEMPLATE
void TORVEL_STRING::_M_leak_hard() {
  torvel_rt::leak(torvel_rt::slot_of(this), torvel_rt::kind_of<TORVEL_STRING>());
}

TORVEL_STRING_TEMPLATE
void TORVEL_STRING::_M_mutate(size_type pos, size_type len1, size_type len2) {
  torvel_rt::mutate(torvel_rt::slot_of(this), pos, len1, len2, torvel_rt::kind_of<TORVEL_STRING>());
}

// ----- construction and destruction -----

TORVEL_STRING_TEMPLATE
TORVEL_STRING::basic_string()
    : _M_dataplus(torvel_rt::empty_chars_of<C>(_Rep::_S_empty_rep_storage), A()) {}

TORVEL_STRING_TEMPLATE
TORVEL_STRING::basic_string(const C* s, const A& a)
    : _M_dataplus(torvel_rt::empty_chars_of<C>(_Rep::_S_empty_rep_storage), a) {
  size_type n = torvel_rt::element_count(s);
  if (n != 0)
    _M_dataplus._M_p = reinterpret_cast<C*>(torvel_rt::fresh_copy(s, n, torvel_rt::kind_of<TORVEL_STRING>()));
}

TORVEL_STRING_TEMPLATE
TORVEL_STRING::basic_string(const C* s, size_type n, const A& a)
    : _M_dataplus(torvel_rt::empty_chars_of<C>(_Rep::_S_empty_rep_storage), a) {
  if (n != 0)
    _M_dataplus._M_p = reinterpret_cast<C*>(torvel_rt::fresh_copy(s, n, torvel_rt::kind_of<TORVEL_STRING>()));
}

TORVEL_STRING_TEMPLATE
TORVEL_STRING::basic_string(const basic_string& str)
    : _M_dataplus(reinterpret_cast<C*>(torvel_rt::grab(torvel_rt::header_of(str._M_dataplus._M_p),
                                                         torvel_rt::kind_of<TORVEL_STRING>())),
                  A()) {}

TORVEL_STRING_TEMPLATE
TORVEL_STRING::basic_string(const basic_string& str, size_type pos, size_type n)
    : _M_dataplus(torvel_rt::empty_chars_of<C>(_Rep::_S_empty_rep_storage), A()) {
  size_type length = torvel_rt::length_in<C>(&str);
  if (pos > length) torvel_rt::report_out_of_range("basic_string::basic_string");
  size_type count = torvel_rt::clamp(n, length - pos);
  if (count != 0)
    _M_dataplus._M_p = reinterpret_cast<C*>(
        torvel_rt::fresh_copy(str._M_dataplus._M_p + pos, count, torvel_rt::kind_of<TORVEL_STRING>()));
}

TORVEL_STRING_TEMPLATE
TORVEL_STRING::basic_string(size_type n, C c, const A& a)
    : _M_dataplus(torvel_rt::empty_chars_of<C>(_Rep::_S_empty_rep_storage), a) {
  if (n == 0) return;
  const torvel_rt::element_kind kind = torvel_rt::kind_of<TORVEL_STRING>();
  torvel_rt::rep_header* rep = torvel_rt::create(n, 0, sizeof(C));
  C* chars = reinterpret_cast<C*>(torvel_rt::chars_of(rep));
  torvel_rt::fill(chars, c, n);
  torvel_rt::set_length_and_sharable(rep, n, kind);
  _M_dataplus._M_p = chars;
}

TORVEL_STRING_TEMPLATE
TORVEL_STRING::~basic_string() {
  torvel_rt::dispose(torvel_rt::header_of(_M_dataplus._M_p), torvel_rt::kind_of<TORVEL_STRING>());
}

// ----- assignment and append -----

TORVEL_STRING_TEMPLATE
TORVEL_STRING& TORVEL_STRING::assign(const C* s, size_type n) {
  torvel_rt::replace(torvel_rt::slot_of(this), 0, torvel_rt::length_in<C>(this), s, n, torvel_rt::kind_of<TORVEL_STRING>());
  return *this;
}

TORVEL_STRING_TEMPLATE
TORVEL_STRING& TORVEL_STRING::assign(const C* s) {
  torvel_rt::replace(torvel_rt::slot_of(this), 0, torvel_rt::length_in<C>(this), s,
                     torvel_rt::element_count(s), torvel_rt::kind_of<TORVEL_STRING>());
  return *this;
}

TORVEL_STRING_TEMPLATE
TORVEL_STRING& TORVEL_STRING::assign(const basic_string& str) {
  if (str._M_dataplus._M_p != _M_dataplus._M_p) {
    const torvel_rt::element_kind kind = torvel_rt::kind_of<TORVEL_STRING>();
    C* grabbed = reinterpret_cast<C*>(torvel_rt::grab(torvel_rt::header_of(str._M_dataplus._M_p), kind));
    torvel_rt::dispose(torvel_rt::header_of(_M_dataplus._M_p), kind);
    _M_dataplus._M_p = grabbed;
  }
  return *this;
}

TORVEL_STRING_TEMPLATE
TORVEL_STRING& TORVEL_STRING::operator=(const C* s) {
  torvel_rt::replace(torvel_rt::slot_of(this), 0, torvel_rt::length_in<C>(this), s,
                     torvel_rt::element_count(s), torvel_rt::kind_of<TORVEL_STRING>());
  return *this;
}

TORVEL_STRING_TEMPLATE
TORVEL_STRING& TORVEL_STRING::operator=(const basic_string& str) {
  if (str._M_dataplus._M_p != _M_dataplus._M_p) {
    const torvel_rt::element_kind kind = torvel_rt::kind_of<TORVEL_STRING>();
    C* grabbed = reinterpret_cast<C*>(torvel_rt::grab(torvel_rt::header_of(str._M_dataplus._M_p), kind));
    torvel_rt::dispose(torvel_rt::header_of(_M_dataplus._M_p), kind);
    _M_dataplus._M_p = grabbed;
  }
  return *this;
}

TORVEL_STRING_TEMPLATE
TORVEL_STRING& TORVEL_STRING::operator=(C c) {
  torvel_rt::replace(torvel_rt::slot_of(this), 0, torvel_rt::length_in<C>(this), &c, 1,
                     torvel_rt::kind_of<TORVEL_STRING>());
  return *this;
}

TORVEL_STRING_TEMPLATE
TORVEL_STRING& TORVEL_STRING::append(const C* s, size_type n) {
  if (n != 0)
    torvel_rt::replace(torvel_rt::slot_of(this), torvel_rt::length_in<C>(this), 0, s, n,
                       torvel_rt::kind_of<TORVEL_STRING>());
  return *this;
}

TORVEL_STRING_TEMPLATE
TORVEL_STRING& TORVEL_STRING::append(const C* s) {
  size_type n = torvel_rt::element_count(s);
  if (n != 0)
    torvel_rt::replace(torvel_rt::slot_of(this), torvel_rt::length_in<C>(this), 0, s, n,
                       torvel_rt::kind_of<TORVEL_STRING>());
  return *this;
}

TORVEL_STRING_TEMPLATE
TORVEL_STRING& TORVEL_STRING::append(const basic_string& str) {
  size_type n = torvel_rt::length_in<C>(&str);
  if (n != 0)
    torvel_rt::replace(torvel_rt::slot_of(this), torvel_rt::length_in<C>(this), 0, str._M_dataplus._M_p, n,
                       torvel_rt::kind_of<TORVEL_STRING>());
  return *this;
}

TORVEL_STRING_TEMPLATE
TORVEL_STRING& TORVEL_STRING::append(const basic_string& str, size_type pos, size_type n) {
  size_type length = torvel_rt::length_in<C>(&str);
  if (pos > length) torvel_rt::report_out_of_range("basic_string::append");
  size_type count = torvel_rt::clamp(n, length - pos);
  if (count != 0)
    torvel_rt::replace(torvel_rt::slot_of(this), torvel_rt::length_in<C>(this), 0, str._M_dataplus._M_p + pos,
                       count, torvel_rt::kind_of<TORVEL_STRING>());
  return *this;
}

TORVEL_STRING_TEMPLATE
TORVEL_STRING& TORVEL_STRING::append(size_type n, C c) {
  if (n != 0) {
    size_type old = torvel_rt::length_in<C>(this);
    torvel_rt::mutate(torvel_rt::slot_of(this), old, 0, n, torvel_rt::kind_of<TORVEL_STRING>());
    torvel_rt::fill(_M_dataplus._M_p + old, c, n);
  }
  return *this;
}

TORVEL_STRING_TEMPLATE
TORVEL_STRING& TORVEL_STRING::operator+=(const C* s) {
  size_type n = torvel_rt::element_count(s);
  if (n != 0)
    torvel_rt::replace(torvel_rt::slot_of(this), torvel_rt::length_in<C>(this), 0, s, n,
                       torvel_rt::kind_of<TORVEL_STRING>());
  return *this;
}

TORVEL_STRING_TEMPLATE
TORVEL_STRING& TORVEL_STRING::operator+=(const basic_string& str) {
  size_type n = torvel_rt::length_in<C>(&str);
  if (n != 0)
    torvel_rt::replace(torvel_rt::slot_of(this), torvel_rt::length_in<C>(this), 0, str._M_dataplus._M_p, n,
                       torvel_rt::kind_of<TORVEL_STRING>());
  return *this;
}

TORVEL_STRING_TEMPLATE
TORVEL_STRING& TORVEL_STRING::operator+=(C c) {
  size_type old = torvel_rt::length_in<C>(this);
  torvel_rt::mutate(torvel_rt::slot_of(this), old, 0, 1, torvel_rt::kind_of<TORVEL_STRING>());
  _M_dataplus._M_p[old] = c;
  return *this;
}

TORVEL_STRING_TEMPLATE
void TORVEL_STRING::push_back(C c) {
  size_type old = torvel_rt::length_in<C>(this);
  torvel_rt::mutate(torvel_rt::slot_of(this), old, 0, 1, torvel_rt::kind_of<TORVEL_STRING>());
  _M_dataplus._M_p[old] = c;
}

// ----- size and capacity -----

TORVEL_STRING_TEMPLATE
typename TORVEL_STRING::size_type TORVEL_STRING::size() const { return torvel_rt::length_in<C>(this); }

TORVEL_STRING_TEMPLATE
typename TORVEL_STRING::size_type TORVEL_STRING::length() const { return torvel_rt::length_in<C>(this); }

TORVEL_STRING_TEMPLATE
bool TORVEL_STRING::empty() const { return torvel_rt::length_in<C>(this) == 0; }

TORVEL_STRING_TEMPLATE
void TORVEL_STRING::resize(size_type n, C c) {
  size_type length = torvel_rt::length_in<C>(this);
  if (n > length) {
    torvel_rt::mutate(torvel_rt::slot_of(this), length, 0, n - length, torvel_rt::kind_of<TORVEL_STRING>());
    torvel_rt::fill(_M_dataplus._M_p + length, c, n - length);
  } else if (n < length) {
    torvel_rt::mutate(torvel_rt::slot_of(this), n, length - n, 0, torvel_rt::kind_of<TORVEL_STRING>());
  }
}

TORVEL_STRING_TEMPLATE
void TORVEL_STRING::resize(size_type n) {
  size_type length = torvel_rt::length_in<C>(this);
  if (n > length) {
    torvel_rt::mutate(torvel_rt::slot_of(this), length, 0, n - length, torvel_rt::kind_of<TORVEL_STRING>());
    torvel_rt::fill(_M_dataplus._M_p + length, C(), n - length);
  } else if (n < length) {
    torvel_rt::mutate(torvel_rt::slot_of(this), n, length - n, 0, torvel_rt::kind_of<TORVEL_STRING>());
  }
}

TORVEL_STRING_TEMPLATE
void TORVEL_STRING::reserve(size_type n) {
  torvel_rt::reserve(torvel_rt::slot_of(this), n, torvel_rt::kind_of<TORVEL_STRING>());
}

TORVEL_STRING_TEMPLATE
void TORVEL_STRING::clear() {
  torvel_rt::mutate(torvel_rt::slot_of(this), 0, torvel_rt::length_in<C>(this), 0,
                    torvel_rt::kind_of<TORVEL_STRING>());
}

// ----- replace, insert, erase, swap -----

TORVEL_STRING_TEMPLATE
TORVEL_STRING& TORVEL_STRING::replace(size_type pos, size_type len1, const C* s, size_type len2) {
  torvel_rt::replace(torvel_rt::slot_of(this), pos, len1, s, len2, torvel_rt::kind_of<TORVEL_STRING>());
  return *this;
}

TORVEL_STRING_TEMPLATE
TORVEL_STRING& TORVEL_STRING::replace(size_type pos, size_type len1, const C* s) {
  torvel_rt::replace(torvel_rt::slot_of(this), pos, len1, s, torvel_rt::element_count(s),
                     torvel_rt::kind_of<TORVEL_STRING>());
  return *this;
}

TORVEL_STRING_TEMPLATE
TORVEL_STRING& TORVEL_STRING::replace(size_type pos, size_type len1, const basic_string& str) {
  torvel_rt::replace(torvel_rt::slot_of(this), pos, len1, str._M_dataplus._M_p, torvel_rt::length_in<C>(&str),
                     torvel_rt::kind_of<TORVEL_STRING>());
  return *this;
}


TORVEL_STRING_TEMPLATE
TORVEL_STRING& TORVEL_STRING::replace(size_type pos, size_type len1, size_type len2, C c) {
  torvel_rt::replace_with_copies(torvel_rt::slot_of(this), pos, len1, len2, c,
                                            torvel_rt::kind_of<TORVEL_STRING>());
  return *this;
}

TORVEL_STRING_TEMPLATE
TORVEL_STRING& TORVEL_STRING::_M_replace_aux(size_type pos, size_type len1, size_type len2, C c) {
  torvel_rt::replace_with_copies(torvel_rt::slot_of(this), pos, len1, len2, c,
                                            torvel_rt::kind_of<TORVEL_STRING>());
  return *this;
}

TORVEL_STRING_TEMPLATE
TORVEL_STRING& TORVEL_STRING::insert(size_type pos, const C* s, size_type n) {
  torvel_rt::replace(torvel_rt::slot_of(this), pos, 0, s, n, torvel_rt::kind_of<TORVEL_STRING>());
  return *this;
}

TORVEL_STRING_TEMPLATE
TORVEL_STRING& TORVEL_STRING::erase(size_type pos, size_type n) {
  size_type length = torvel_rt::length_in<C>(this);
  if (pos > length) torvel_rt::report_out_of_range("basic_string::erase");
  torvel_rt::mutate(torvel_rt::slot_of(this), pos, torvel_rt::clamp(n, length - pos), 0,
                    torvel_rt::kind_of<TORVEL_STRING>());
  return *this;
}

TORVEL_STRING_TEMPLATE
typename TORVEL_STRING::iterator TORVEL_STRING::erase(iterator first, iterator last) {
  size_type index = first.base() - _M_dataplus._M_p;
  torvel_rt::mutate(torvel_rt::slot_of(this), index, last.base() - first.base(), 0,
                    torvel_rt::kind_of<TORVEL_STRING>());
  return iterator(_M_dataplus._M_p + index);
}

TORVEL_STRING_TEMPLATE
void TORVEL_STRING::swap(basic_string& s) {
  C* mine = _M_dataplus._M_p;
  _M_dataplus._M_p = s._M_dataplus._M_p;
  s._M_dataplus._M_p = mine;
}

// ----- search -----

TORVEL_STRING_TEMPLATE
typename TORVEL_STRING::size_type TORVEL_STRING::find(const C* s, size_type pos, size_type n) const {
  return torvel_rt::find_sequence(_M_dataplus._M_p, torvel_rt::length_in<C>(this), s, pos, n);
}

TORVEL_STRING_TEMPLATE
typename TORVEL_STRING::size_type TORVEL_STRING::find(const C* s, size_type pos) const {
  return torvel_rt::find_sequence(_M_dataplus._M_p, torvel_rt::length_in<C>(this), s, pos, torvel_rt::element_count(s));
}

TORVEL_STRING_TEMPLATE
typename TORVEL_STRING::size_type TORVEL_STRING::find(const basic_string& str, size_type pos) const {
  return torvel_rt::find_sequence(_M_dataplus._M_p, torvel_rt::length_in<C>(this), str._M_dataplus._M_p, pos,
                                  torvel_rt::length_in<C>(&str));
}

TORVEL_STRING_TEMPLATE
typename TORVEL_STRING::size_type TORVEL_STRING::find(C c, size_type pos) const {
  return torvel_rt::find_element(_M_dataplus._M_p, torvel_rt::length_in<C>(this), c, pos);
}

TORVEL_STRING_TEMPLATE
typename TORVEL_STRING::size_type TORVEL_STRING::rfind(const C* s, size_type pos, size_type n) const {
  return torvel_rt::rfind_sequence(_M_dataplus._M_p, torvel_rt::length_in<C>(this), s, pos, n);
}

TORVEL_STRING_TEMPLATE
typename TORVEL_STRING::size_type TORVEL_STRING::rfind(const C* s, size_type pos) const {
  return torvel_rt::rfind_sequence(_M_dataplus._M_p, torvel_rt::length_in<C>(this), s, pos, torvel_rt::element_count(s));
}

TORVEL_STRING_TEMPLATE
typename TORVEL_STRING::size_type TORVEL_STRING::rfind(const basic_string& str, size_type pos) const {
  return torvel_rt::rfind_sequence(_M_dataplus._M_p, torvel_rt::length_in<C>(this), str._M_dataplus._M_p, pos,
                                   torvel_rt::length_in<C>(&str));
}

TORVEL_STRING_TEMPLATE
typename TORVEL_STRING::size_type TORVEL_STRING::rfind(C c, size_type pos) const {
  return torvel_rt::rfind_element(_M_dataplus._M_p, torvel_rt::length_in<C>(this), c, pos);
}

TORVEL_STRING_TEMPLATE
typename TORVEL_STRING::size_type TORVEL_STRING::find_first_of(const C* s, size_type pos, size_type n) const {
  return torvel_rt::find_first_in(_M_dataplus._M_p, torvel_rt::length_in<C>(this), s, pos, n, true);
}

TORVEL_STRING_TEMPLATE
typename TORVEL_STRING::size_type TORVEL_STRING::find_first_of(C c, size_type pos) const {
  return torvel_rt::find_element(_M_dataplus._M_p, torvel_rt::length_in<C>(this), c, pos);
}

TORVEL_STRING_TEMPLATE
typename TORVEL_STRING::size_type TORVEL_STRING::find_last_of(const C* s, size_type pos, size_type n) const {
  return torvel_rt::find_last_in(_M_dataplus._M_p, torvel_rt::length_in<C>(this), s, pos, n, true);
}

TORVEL_STRING_TEMPLATE
typename TORVEL_STRING::size_type TORVEL_STRING::find_last_of(const C* s, size_type pos) const {
  return torvel_rt::find_last_in(_M_dataplus._M_p, torvel_rt::length_in<C>(this), s, pos, torvel_rt::element_count(s), true);
}

TORVEL_STRING_TEMPLATE
typename TORVEL_STRING::size_type TORVEL_STRING::find_last_of(C c, size_type pos) const {
  return torvel_rt::rfind_element(_M_dataplus._M_p, torvel_rt::length_in<C>(this), c, pos);
}

TORVEL_STRING_TEMPLATE
typename TORVEL_STRING::size_type TORVEL_STRING::find_first_not_of(const C* s, size_type pos, size_type n) const {
  return torvel_rt::find_first_in(_M_dataplus._M_p, torvel_rt::length_in<C>(this), s, pos, n, false);
}

TORVEL_STRING_TEMPLATE
typename TORVEL_STRING::size_type TORVEL_STRING::find_first_not_of(const C* s, size_type pos) const {
  return torvel_rt::find_first_in(_M_dataplus._M_p, torvel_rt::length_in<C>(this), s, pos, torvel_rt::element_count(s), false);
}

TORVEL_STRING_TEMPLATE
typename TORVEL_STRING::size_type TORVEL_STRING::find_first_not_of(C c, size_type pos) const {
  return torvel_rt::find_first_in(_M_dataplus._M_p, torvel_rt::length_in<C>(this), &c, pos, 1, false);
}

TORVEL_STRING_TEMPLATE
typename TORVEL_STRING::size_type TORVEL_STRING::find_last_not_of(const C* s, size_type pos, size_type n) const {
  return torvel_rt::find_last_in(_M_dataplus._M_p, torvel_rt::length_in<C>(this), s, pos, n, false);
}

// ----- comparison -----

TORVEL_STRING_TEMPLATE
int TORVEL_STRING::compare(const basic_string& str) const {
  return torvel_rt::compare_elements(_M_dataplus._M_p, torvel_rt::length_in<C>(this), str._M_dataplus._M_p,
                                     torvel_rt::length_in<C>(&str));
}

TORVEL_STRING_TEMPLATE
int TORVEL_STRING::compare(const C* s) const {
  return torvel_rt::compare_elements(_M_dataplus._M_p, torvel_rt::length_in<C>(this), s, torvel_rt::element_count(s));
}

TORVEL_STRING_TEMPLATE
int TORVEL_STRING::compare(size_type pos, size_type n, const basic_string& str) const {
  size_type length = torvel_rt::length_in<C>(this);
  if (pos > length) torvel_rt::report_out_of_range("basic_string::compare");
  return torvel_rt::compare_elements(_M_dataplus._M_p + pos, torvel_rt::clamp(n, length - pos),
                                     str._M_dataplus._M_p, torvel_rt::length_in<C>(&str));
}

TORVEL_STRING_TEMPLATE
int TORVEL_STRING::compare(size_type pos, size_type n, const C* s) const {
  size_type length = torvel_rt::length_in<C>(this);
  if (pos > length) torvel_rt::report_out_of_range("basic_string::compare");
  return torvel_rt::compare_elements(_M_dataplus._M_p + pos, torvel_rt::clamp(n, length - pos), s,
                                     torvel_rt::element_count(s));
}

TORVEL_STRING_TEMPLATE
int TORVEL_STRING::compare(size_type pos, size_type n, const C* s, size_type len2) const {
  size_type length = torvel_rt::length_in<C>(this);
  if (pos > length) torvel_rt::report_out_of_range("basic_string::compare");
  return torvel_rt::compare_elements(_M_dataplus._M_p + pos, torvel_rt::clamp(n, length - pos), s, len2);
}

// ----- access and copying -----

TORVEL_STRING_TEMPLATE
const C* TORVEL_STRING::c_str() const { return _M_dataplus._M_p; }

TORVEL_STRING_TEMPLATE
const C* TORVEL_STRING::data() const { return _M_dataplus._M_p; }

TORVEL_STRING_TEMPLATE
typename TORVEL_STRING::const_iterator TORVEL_STRING::begin() const {
  return const_iterator(_M_dataplus._M_p);
}

TORVEL_STRING_TEMPLATE
typename TORVEL_STRING::const_iterator TORVEL_STRING::end() const {
  return const_iterator(_M_dataplus._M_p + torvel_rt::length_in<C>(this));
}

TORVEL_STRING_TEMPLATE
typename TORVEL_STRING::iterator TORVEL_STRING::begin() {
  torvel_rt::leak(torvel_rt::slot_of(this), torvel_rt::kind_of<TORVEL_STRING>());
  return iterator(_M_dataplus._M_p);
}

TORVEL_STRING_TEMPLATE
typename TORVEL_STRING::iterator TORVEL_STRING::end() {
  torvel_rt::leak(torvel_rt::slot_of(this), torvel_rt::kind_of<TORVEL_STRING>());
  return iterator(_M_dataplus._M_p + torvel_rt::length_in<C>(this));
}

TORVEL_STRING_TEMPLATE
typename TORVEL_STRING::const_reference TORVEL_STRING::operator[](size_type pos) const {
  return _M_dataplus._M_p[pos];
}

TORVEL_STRING_TEMPLATE
typename TORVEL_STRING::reference TORVEL_STRING::operator[](size_type pos) {
  torvel_rt::leak(torvel_rt::slot_of(this), torvel_rt::kind_of<TORVEL_STRING>());
  return _M_dataplus._M_p[pos];
}

TORVEL_STRING_TEMPLATE
typename TORVEL_STRING::const_reference TORVEL_STRING::at(size_type pos) const {
  if (pos >= torvel_rt::length_in<C>(this)) torvel_rt::report_out_of_range("basic_string::at");
  return _M_dataplus._M_p[pos];
}

TORVEL_STRING_TEMPLATE
typename TORVEL_STRING::reference TORVEL_STRING::at(size_type pos) {
  if (pos >= torvel_rt::length_in<C>(this)) torvel_rt::report_out_of_range("basic_string::at");
  torvel_rt::leak(torvel_rt::slot_of(this), torvel_rt::kind_of<TORVEL_STRING>());
  return _M_dataplus._M_p[pos];
}

TORVEL_STRING_TEMPLATE
typename TORVEL_STRING::size_type TORVEL_STRING::copy(C* dst, size_type n, size_type pos) const {
  size_type length = torvel_rt::length_in<C>(this);
  if (pos > length) torvel_rt::report_out_of_range("basic_string::copy");
  size_type count = torvel_rt::clamp(n, length - pos);
  memcpy(dst, _M_dataplus._M_p + pos, count * sizeof(C));
  return count;
}

TORVEL_STRING_TEMPLATE
TORVEL_STRING TORVEL_STRING::substr(size_type pos, size_type n) const {
  size_type length = torvel_rt::length_in<C>(this);
  if (pos > length) torvel_rt::report_out_of_range(torvel_rt::messages<C>::substr());
  return basic_string(_M_dataplus._M_p + pos, torvel_rt::clamp(n, length - pos), A());
}

#undef TORVEL_STRING
#undef TORVEL_STRING_TEMPLATE

}

#endif
