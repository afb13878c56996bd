// std::basic_stringbuf<char>: construction, the content as a string, the
// steps that set the six area pointers from the held string, and the
// virtual functions that read, write, grow and seek. Weak exports (explicit
// instantiation), except the destructor, which stays inside the library.
#include "string_buffer.h"

#include "buffer_steps.h"
#include "host_names.h"
#include "string_fields.h"

// The destructor is implicit: game code built against the old headers
// carries its own copy, and the library's forms behind the virtual table
// stay internal. Which forms a unit defines depends on the compiler and the
// object format: GCC emits the base-object form with the complete-object
// form as its alias; clang for Mach-O emits the complete-object form alone,
// and clang for ELF the base-object form alone, used in the other's place.
// Hiding a name the unit does not define would leave an undefined reference
// behind, so each form is hidden only where it exists.
TORVEL_HIDE_SYMBOL("_ZNSt15basic_stringbufIcSt11char_traitsIcESaIcEED0Ev");
#if !defined(__clang__) || defined(__APPLE__)
TORVEL_HIDE_SYMBOL("_ZNSt15basic_stringbufIcSt11char_traitsIcESaIcEED1Ev");
#endif
#if !defined(__clang__) || !defined(__APPLE__)
TORVEL_HIDE_SYMBOL("_ZNSt15basic_stringbufIcSt11char_traitsIcESaIcEED2Ev");
#endif

namespace {

inline bool has(std::_Ios_Openmode mode, int bit) { return (mode & bit) != 0; }

// origin + delta as a 64-bit target; false when the sum does not fit, which
// no area can reach anyway.
inline bool shifted(std::streamoff off, long delta, std::streamoff* target) {
  return !__builtin_add_overflow(off, static_cast<std::streamoff>(delta), target);
}

}

namespace std {

template<typename _CharT, typename _Traits, typename _Alloc>
basic_stringbuf<_CharT, _Traits, _Alloc>::basic_stringbuf(_Ios_Openmode mode)
    : __streambuf_type(), open_mode(mode), held_string() {}

// The held string gets its own copy of the characters, never a share of
// s's representation: the buffer writes into it in place.
template<typename _CharT, typename _Traits, typename _Alloc>
basic_stringbuf<_CharT, _Traits, _Alloc>::basic_stringbuf(const __string_type& s, _Ios_Openmode mode)
    : __streambuf_type(), open_mode(_Ios_Openmode(0)),
      held_string(torvel_ios::string_chars(s), torvel_ios::string_length(s), _Alloc()) {
  _M_stringbuf_init(mode);
}

// With a put area, the content runs to the high-water mark, which may lie
// past the held string's recorded length. Without one (an input-only
// buffer), the held string is the content and a copy may share it.
template<typename _CharT, typename _Traits, typename _Alloc>
typename basic_stringbuf<_CharT, _Traits, _Alloc>::__string_type
basic_stringbuf<_CharT, _Traits, _Alloc>::str() const {
  if (this->put_next != 0) {
    char_type* high = this->put_next > this->get_end ? this->put_next : this->get_end;
    return __string_type(this->put_begin, high - this->put_begin, _Alloc());
  }
  return held_string;
}

template<typename _CharT, typename _Traits, typename _Alloc>
void basic_stringbuf<_CharT, _Traits, _Alloc>::str(const __string_type& s) {
  held_string.assign(torvel_ios::string_chars(s), torvel_ios::string_length(s));
  _M_stringbuf_init(open_mode);
}

// Writing starts at the end for app and ate, at the beginning otherwise.
template<typename _CharT, typename _Traits, typename _Alloc>
void basic_stringbuf<_CharT, _Traits, _Alloc>::_M_stringbuf_init(_Ios_Openmode mode) {
  open_mode = mode;
  __size_type o = has(mode, _S_app | _S_ate) ? torvel_ios::string_length(held_string) : 0;
  _M_sync(torvel_ios::string_chars(held_string), 0, o);
}

// Sets the areas over base: the held string's characters (get area to its
// length, put area to its capacity), or a caller's array of i characters
// after setbuf, which the buffer reads and writes as a whole.
template<typename _CharT, typename _Traits, typename _Alloc>
void basic_stringbuf<_CharT, _Traits, _Alloc>::_M_sync(char_type* base, __size_type i, __size_type o) {
  char_type* end_of_get = base + torvel_ios::string_length(held_string);
  char_type* end_of_put = base + torvel_ios::string_capacity(held_string);
  if (base != torvel_ios::string_chars(held_string)) {
    end_of_get += i;
    end_of_put = end_of_get;
    i = 0;
  }
  if (has(open_mode, _S_in)) {
    this->get_begin = base;
    this->get_next = base + i;
    this->get_end = end_of_get;
  } else if (has(open_mode, _S_out)) {
    // An output-only buffer keeps an empty get area at the end of what
    // has been written.
    this->get_begin = end_of_get;
    this->get_next = end_of_get;
    this->get_end = end_of_get;
  }
  if (has(open_mode, _S_out)) {
    this->put_begin = base;
    this->put_next = base + o;
    this->put_end = end_of_put;
  }
}

// get_end is the high-water mark of the sequence; writes move it only
// lazily, here.
template<typename _CharT, typename _Traits, typename _Alloc>
void basic_stringbuf<_CharT, _Traits, _Alloc>::_M_update_egptr() {
  if (this->put_next != 0 && this->put_next > this->get_end) {
    if (!has(open_mode, _S_in)) {
      this->get_begin = this->put_next;
      this->get_next = this->put_next;
    }
    this->get_end = this->put_next;
  }
}

template<typename _CharT, typename _Traits, typename _Alloc>
typename basic_stringbuf<_CharT, _Traits, _Alloc>::__streambuf_type*
basic_stringbuf<_CharT, _Traits, _Alloc>::setbuf(char_type* s, streamsize n) {
  if (s != 0 && n >= 0) {
    held_string.clear();
    _M_sync(s, n, 0);
  }
  return this;
}

template<typename _CharT, typename _Traits, typename _Alloc>
streamsize basic_stringbuf<_CharT, _Traits, _Alloc>::showmanyc() {
  if (!has(open_mode, _S_in)) return -1;
  _M_update_egptr();
  return this->get_end - this->get_next;
}

template<typename _CharT, typename _Traits, typename _Alloc>
typename basic_stringbuf<_CharT, _Traits, _Alloc>::int_type basic_stringbuf<_CharT, _Traits, _Alloc>::underflow() {
  if (!has(open_mode, _S_in)) return torvel_ios::end_of_file;
  _M_update_egptr();
  if (this->get_next < this->get_end) return torvel_ios::byte_value(*this->get_next);
  return torvel_ios::end_of_file;
}

// A buffer open for reading only never overwrites its string: a different
// character goes back only when the buffer may write.
template<typename _CharT, typename _Traits, typename _Alloc>
typename basic_stringbuf<_CharT, _Traits, _Alloc>::int_type
basic_stringbuf<_CharT, _Traits, _Alloc>::pbackfail(int_type c) {
  if (!(this->get_begin < this->get_next)) return torvel_ios::end_of_file;
  if (c == torvel_ios::end_of_file) {
    --this->get_next;
    return 0;
  }
  if (this->get_next[-1] == static_cast<char_type>(c)) {
    --this->get_next;
    return c;
  }
  if (has(open_mode, _S_out)) {
    *--this->get_next = static_cast<char_type>(c);
    return c;
  }
  return torvel_ios::end_of_file;
}

// A full put area moves into a string of twice the capacity (512 at
// least): the whole area plus c, all six pointers keeping their offsets.
template<typename _CharT, typename _Traits, typename _Alloc>
typename basic_stringbuf<_CharT, _Traits, _Alloc>::int_type
basic_stringbuf<_CharT, _Traits, _Alloc>::overflow(int_type c) {
  if (!has(open_mode, _S_out)) return torvel_ios::end_of_file;
  if (c == torvel_ios::end_of_file) return 0;
  if (this->put_next < this->put_end) {
    *this->put_next++ = static_cast<char_type>(c);
    return c;
  }
  __size_type capacity = 2 * torvel_ios::string_capacity(held_string);
  if (capacity <= 512) capacity = 512;
  __size_type read_offset = this->get_next - this->get_begin;
  __size_type write_offset = this->put_next - this->put_begin;
  if (this->put_begin == 0 && torvel_ios::string_length(held_string) == 0) {
    // The first write into a buffer that never had areas: the held string
    // is still empty and may grow in place, which ends as growing a fresh
    // string and swapping it in would, with three calls fewer.
    held_string.reserve(capacity);
    held_string.push_back(static_cast<char_type>(c));
  } else {
    __string_type grown;
    grown.reserve(capacity);
    if (this->put_begin != 0) grown.assign(this->put_begin, this->put_end - this->put_begin);
    grown.push_back(static_cast<char_type>(c));
    held_string.swap(grown);
  }
  _M_sync(torvel_ios::string_chars(held_string), read_offset, write_offset);
  ++this->put_next;
  return c;
}

// Positions count from the start of the sequence; neither side may move
// past the high-water mark. A cur seek of both sides at once is refused,
// since the two current positions may differ.
template<typename _CharT, typename _Traits, typename _Alloc>
typename basic_stringbuf<_CharT, _Traits, _Alloc>::pos_type
basic_stringbuf<_CharT, _Traits, _Alloc>::seekoff(off_type off, _Ios_Seekdir way, _Ios_Openmode which) {
  pos_type result(off_type(-1));
  bool test_in = has(open_mode, which & _S_in);
  bool test_out = has(open_mode, which & _S_out);
  bool both = test_in && test_out && way != _S_cur;
  bool in_alone = test_in && !has(which, _S_out);
  bool out_alone = test_out && !has(which, _S_in);
  char_type* origin = in_alone ? this->get_begin : this->put_begin;
  if ((origin == 0 && off != 0) || !(in_alone || out_alone || both)) return result;
  _M_update_egptr();
  long in_delta = 0;
  long out_delta = 0;
  if (way == _S_cur) {
    in_delta = this->get_next - origin;
    out_delta = this->put_next - origin;
  } else if (way == _S_end) {
    in_delta = out_delta = this->get_end - origin;
  }
  off_type limit = this->get_end - origin;
  off_type target;
  if ((in_alone || both) && shifted(off, in_delta, &target) && target >= 0 && target <= limit) {
    this->get_next = origin + target;
    result = pos_type(target);
  }
  if ((out_alone || both) && shifted(off, out_delta, &target) && target >= 0 && target <= limit) {
    this->put_next = origin + target;
    result = pos_type(target);
  }
  return result;
}

template<typename _CharT, typename _Traits, typename _Alloc>
typename basic_stringbuf<_CharT, _Traits, _Alloc>::pos_type
basic_stringbuf<_CharT, _Traits, _Alloc>::seekpos(pos_type pos, _Ios_Openmode which) {
  pos_type result(off_type(-1));
  bool test_in = has(open_mode, which & _S_in);
  bool test_out = has(open_mode, which & _S_out);
  char_type* origin = test_in ? this->get_begin : this->put_begin;
  off_type off = pos.offset;
  if (!(test_in || test_out) || (off != 0 && origin == 0)) return result;
  _M_update_egptr();
  if (off >= 0 && off <= this->get_end - origin) {
    if (test_in) this->get_next = origin + off;
    if (test_out) this->put_next = origin + off;
    result = pos;
  }
  return result;
}

template class basic_stringbuf<char>;

}
