// std::basic_string of the guest ABI: a reference-counted, copy-on-write
// string whose object is a single pointer to its characters. The characters
// are preceded by the 12-byte _Rep header (length, capacity, ref_count); an
// empty string points into _Rep::_S_empty_rep_storage.
//
// Guest code calls these members by mangled name and also carries inlined
// copies of the small ones, so every field below is read and written by code
// outside this library. The members are defined in the library and
// explicitly instantiated for char (std::string) and, in part, for wchar_t
// (std::wstring); nothing here is inline.
#ifndef TORVEL_SHARED_STRING_H
#define TORVEL_SHARED_STRING_H

#include "allocator.h"
#include "char_traits.h"
#include "guest_types.h"
#include "normal_iterator.h"
#include "torvel_export.h"

namespace std {

template<typename _CharT, typename _Traits = char_traits<_CharT>,
         typename _Alloc = allocator<_CharT> >
class TORVEL_EXPORT basic_string {
public:
  typedef _Traits traits_type;
  typedef _CharT value_type;
  typedef _Alloc allocator_type;
  typedef size_t size_type;
  typedef ptrdiff_t difference_type;
  typedef _CharT& reference;
  typedef const _CharT& const_reference;
  typedef _CharT* pointer;
  typedef const _CharT* const_pointer;
  typedef __gnu_cxx::__normal_iterator<pointer, basic_string> iterator;
  typedef __gnu_cxx::__normal_iterator<const_pointer, basic_string> const_iterator;

  static const size_type npos = static_cast<size_type>(-1);

  // The representation header. ref_count: 0 = one owner, n > 0 = shared by
  // n + 1 strings, negative = leaked (never shared again).
  struct TORVEL_EXPORT _Rep {
    size_type length;
    size_type capacity;
    int ref_count;

    // 16 zero bytes: header plus terminator of every empty string.
    static size_type _S_empty_rep_storage[];
    static const _CharT _S_terminal;

    static _Rep* _S_create(size_type capacity, size_type old_capacity, const _Alloc&);
    void _M_dispose(const _Alloc&);
    void _M_destroy(const _Alloc&);
    void _M_set_length_and_sharable(size_type n);
    _CharT* _M_refdata() throw();
  };

  // The string object's single word; the allocator is an empty base.
  struct TORVEL_EXPORT _Alloc_hider : _Alloc {
    _Alloc_hider(_CharT* p, const _Alloc& a);
    _CharT* _M_p;
  };

  // Representation helpers.
  static _Rep& _S_empty_rep();
  static void _S_copy_chars(_CharT* dst, const_iterator first, const_iterator last);
  void _M_leak_hard();
  void _M_mutate(size_type pos, size_type len1, size_type len2);

  // Construction and destruction.
  basic_string();
  basic_string(const _CharT* s, const _Alloc& a);
  basic_string(const _CharT* s, size_type n, const _Alloc& a);
  basic_string(const basic_string& str);
  basic_string(const basic_string& str, size_type pos, size_type n);
  basic_string(size_type n, _CharT c, const _Alloc& a);
  ~basic_string();

  // Assignment and append.
  basic_string& assign(const _CharT* s, size_type n);
  basic_string& assign(const _CharT* s);
  basic_string& assign(const basic_string& str);
  basic_string& operator=(const _CharT* s);
  basic_string& operator=(const basic_string& str);
  basic_string& operator=(_CharT c);
  basic_string& append(const _CharT* s, size_type n);
  basic_string& append(const _CharT* s);
  basic_string& append(const basic_string& str);
  basic_string& append(const basic_string& str, size_type pos, size_type n);
  basic_string& append(size_type n, _CharT c);
  basic_string& operator+=(const _CharT* s);
  basic_string& operator+=(const basic_string& str);
  basic_string& operator+=(_CharT c);
  void push_back(_CharT c);

  // Size and capacity.
  size_type size() const;
  size_type length() const;
  bool empty() const;
  void resize(size_type n, _CharT c);
  void resize(size_type n);
  void reserve(size_type n);
  void clear();

  // Replace, insert, erase, swap.
  basic_string& replace(size_type pos, size_type len1, const _CharT* s, size_type len2);
  basic_string& replace(size_type pos, size_type len1, const _CharT* s);
  basic_string& replace(size_type pos, size_type len1, const basic_string& str);
  basic_string& replace(size_type pos, size_type len1, size_type len2, _CharT c);
  basic_string& _M_replace_aux(size_type pos, size_type len1, size_type len2, _CharT c);
  basic_string& insert(size_type pos, const _CharT* s, size_type n);
  basic_string& erase(size_type pos, size_type n);
  iterator erase(iterator first, iterator last);
  void swap(basic_string& s);

  // Search.
  size_type find(const _CharT* s, size_type pos, size_type n) const;
  size_type find(const _CharT* s, size_type pos) const;
  size_type find(const basic_string& str, size_type pos) const;
  size_type find(_CharT c, size_type pos) const;
  size_type rfind(const _CharT* s, size_type pos, size_type n) const;
  size_type rfind(const _CharT* s, size_type pos) const;
  size_type rfind(const basic_string& str, size_type pos) const;
  size_type rfind(_CharT c, size_type pos) const;
  size_type find_first_of(const _CharT* s, size_type pos, size_type n) const;
  size_type find_first_of(_CharT c, size_type pos) const;
  size_type find_last_of(const _CharT* s, size_type pos, size_type n) const;
  size_type find_last_of(const _CharT* s, size_type pos) const;
  size_type find_last_of(_CharT c, size_type pos) const;
  size_type find_first_not_of(const _CharT* s, size_type pos, size_type n) const;
  size_type find_first_not_of(const _CharT* s, size_type pos) const;
  size_type find_first_not_of(_CharT c, size_type pos) const;
  size_type find_last_not_of(const _CharT* s, size_type pos, size_type n) const;

  // Comparison.
  int compare(const basic_string& str) const;
  int compare(const _CharT* s) const;
  int compare(size_type pos, size_type n, const basic_string& str) const;
  int compare(size_type pos, size_type n, const _CharT* s) const;
  int compare(size_type pos, size_type n, const _CharT* s, size_type len2) const;

  // Access and copying.
  const _CharT* c_str() const;
  const _CharT* data() const;
  const_iterator begin() const;
  const_iterator end() const;
  iterator begin();
  iterator end();
  const_reference operator[](size_type pos) const;
  reference operator[](size_type pos);
  const_reference at(size_type pos) const;
  reference at(size_type pos);
  size_type copy(_CharT* dst, size_type n, size_type pos) const;
  basic_string substr(size_type pos, size_type n) const;

private:
  _Alloc_hider _M_dataplus;
};

typedef basic_string<char> string;
typedef basic_string<wchar_t> wstring;

// Inlined guest code reads and writes these fields at these offsets; the
// string object itself is the character pointer and nothing else.
static_assert(sizeof(string) == 4, "a string is one pointer");
static_assert(sizeof(wstring) == 4, "a wide string is one pointer");
static_assert(sizeof(string::_Rep) == 12, "the header is three words");
static_assert(__builtin_offsetof(string::_Rep, length) == 0, "length is the header's first word");
static_assert(__builtin_offsetof(string::_Rep, capacity) == 4, "capacity is the header's second word");
static_assert(__builtin_offsetof(string::_Rep, ref_count) == 8, "ref_count is the header's third word");
static_assert(sizeof(string::_Rep::ref_count) == 4, "ref_count is a 32-bit word");
static_assert(sizeof(wstring::_Rep) == 12, "the wide string has the same header");

}

#endif
