// std::basic_ifstream<char>, std::basic_ofstream<char> and
// std::basic_fstream<char>: a stream class around a member file buffer.
// Reading and writing are the stream classes' own; these add the mode bit
// each class forces when opening and turn open and close failures into
// failbit (fatal when failbit is in the exception mask). Weak exports
// (explicit instantiation).
#include "fstream.h"

namespace std {

namespace {

// The stream's state after the buffer's open: cleared on success, failbit
// added on failure. basic_ios adds badbit when there is no buffer and ends
// the guest when the state meets the exception mask.
template<typename _Stream>
inline void opened(_Stream& stream, bool success) {
  if (success) stream.clear(ios_base::goodbit);
  else stream.setstate(ios_base::failbit);
}

template<typename _Stream>
inline void closed(_Stream& stream, bool success) {
  if (!success) stream.setstate(ios_base::failbit);
}

}

// std::basic_ifstream<char>

template<typename _CharT, typename _Traits>
basic_ifstream<_CharT, _Traits>::basic_ifstream() : basic_istream<_CharT, _Traits>(), file_buffer() {
  this->init(&file_buffer);
}

template<typename _CharT, typename _Traits>
basic_ifstream<_CharT, _Traits>::basic_ifstream(const char* name, _Ios_Openmode mode)
    : basic_istream<_CharT, _Traits>(), file_buffer() {
  this->init(&file_buffer);
  this->open(name, mode);
}

template<typename _CharT, typename _Traits>
basic_ifstream<_CharT, _Traits>::~basic_ifstream() {
  file_buffer.close();
}

template<typename _CharT, typename _Traits>
typename basic_ifstream<_CharT, _Traits>::__filebuf_type* basic_ifstream<_CharT, _Traits>::rdbuf() const {
  return const_cast<__filebuf_type*>(&file_buffer);
}

template<typename _CharT, typename _Traits>
bool basic_ifstream<_CharT, _Traits>::is_open() {
  return file_buffer.is_open();
}

template<typename _CharT, typename _Traits>
bool basic_ifstream<_CharT, _Traits>::is_open() const {
  return file_buffer.is_open();
}

template<typename _CharT, typename _Traits>
void basic_ifstream<_CharT, _Traits>::open(const char* name, _Ios_Openmode mode) {
  opened(*this, file_buffer.open(name, _Ios_Openmode(mode | _S_in)) != 0);
}

template<typename _CharT, typename _Traits>
void basic_ifstream<_CharT, _Traits>::close() {
  closed(*this, file_buffer.close() != 0);
}

// std::basic_ofstream<char>

template<typename _CharT, typename _Traits>
basic_ofstream<_CharT, _Traits>::basic_ofstream() : basic_ostream<_CharT, _Traits>(), file_buffer() {
  this->init(&file_buffer);
}

template<typename _CharT, typename _Traits>
basic_ofstream<_CharT, _Traits>::basic_ofstream(const char* name, _Ios_Openmode mode)
    : basic_ostream<_CharT, _Traits>(), file_buffer() {
  this->init(&file_buffer);
  this->open(name, mode);
}

template<typename _CharT, typename _Traits>
basic_ofstream<_CharT, _Traits>::~basic_ofstream() {
  file_buffer.close();
}

template<typename _CharT, typename _Traits>
typename basic_ofstream<_CharT, _Traits>::__filebuf_type* basic_ofstream<_CharT, _Traits>::rdbuf() const {
  return const_cast<__filebuf_type*>(&file_buffer);
}

template<typename _CharT, typename _Traits>
bool basic_ofstream<_CharT, _Traits>::is_open() {
  return file_buffer.is_open();
}

template<typename _CharT, typename _Traits>
bool basic_ofstream<_CharT, _Traits>::is_open() const {
  return file_buffer.is_open();
}

template<typename _CharT, typename _Traits>
void basic_ofstream<_CharT, _Traits>::open(const char* name, _Ios_Openmode mode) {
  opened(*this, file_buffer.open(name, _Ios_Openmode(mode | _S_out)) != 0);
}

template<typename _CharT, typename _Traits>
void basic_ofstream<_CharT, _Traits>::close() {
  closed(*this, file_buffer.close() != 0);
}

// std::basic_fstream<char>

template<typename _CharT, typename _Traits>
basic_fstream<_CharT, _Traits>::basic_fstream() : basic_iostream<_CharT, _Traits>(), file_buffer() {
  this->init(&file_buffer);
}

template<typename _CharT, typename _Traits>
basic_fstream<_CharT, _Traits>::basic_fstream(const char* name, _Ios_Openmode mode)
    : basic_iostream<_CharT, _Traits>(), file_buffer() {
  this->init(&file_buffer);
  this->open(name, mode);
}

template<typename _CharT, typename _Traits>
basic_fstream<_CharT, _Traits>::~basic_fstream() {
  file_buffer.close();
}

template<typename _CharT, typename _Traits>
typename basic_fstream<_CharT, _Traits>::__filebuf_type* basic_fstream<_CharT, _Traits>::rdbuf() const {
  return const_cast<__filebuf_type*>(&file_buffer);
}

template<typename _CharT, typename _Traits>
bool basic_fstream<_CharT, _Traits>::is_open() {
  return file_buffer.is_open();
}

template<typename _CharT, typename _Traits>
bool basic_fstream<_CharT, _Traits>::is_open() const {
  return file_buffer.is_open();
}

template<typename _CharT, typename _Traits>
void basic_fstream<_CharT, _Traits>::open(const char* name, _Ios_Openmode mode) {
  opened(*this, file_buffer.open(name, mode) != 0);
}

template<typename _CharT, typename _Traits>
void basic_fstream<_CharT, _Traits>::close() {
  closed(*this, file_buffer.close() != 0);
}

template class basic_ifstream<char>;
template class basic_ofstream<char>;
template class basic_fstream<char>;

}
