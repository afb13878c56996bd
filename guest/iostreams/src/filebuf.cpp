// std::basic_filebuf<char>: construction, open and close, the internal
// buffer and the settling steps under their exported names. Weak exports
// (explicit instantiation; the area functions and seeks are instantiated in
// filebuf_transfers.cpp).
#include "filebuf.h"

#include "c_library.h"
#include "filebuf_steps.h"

namespace std {

template<typename _CharT, typename _Traits>
basic_filebuf<_CharT, _Traits>::basic_filebuf()
    : reserved_after_areas(),
      file_handle(0),
      open_mode(_Ios_Openmode(0)),
      reserved_after_mode(),
      buffer(0),
      buffer_size(torvel_ios::default_buffer_size),
      buffer_owned(false),
      reading(false),
      writing(false),
      reserved_tail() {}

// A buffer still owned here after close (the guest may allocate one on a
// closed buffer through the exported member) is freed too.
template<typename _CharT, typename _Traits>
basic_filebuf<_CharT, _Traits>::~basic_filebuf() {
  close();
  _M_destroy_internal_buffer();
}

template<typename _CharT, typename _Traits>
bool basic_filebuf<_CharT, _Traits>::is_open() const {
  return file_handle.host_file != 0;
}

template<typename _CharT, typename _Traits>
basic_filebuf<_CharT, _Traits>* basic_filebuf<_CharT, _Traits>::open(const char* name, _Ios_Openmode mode) {
  if (file_handle.open(name, mode) == 0) return 0;
  _M_allocate_internal_buffer();
  if (this->buffer == 0) {
    // No memory for the buffer: the open fails as a whole, leaving the
    // object closed as it was.
    _M_destroy_internal_buffer();
    file_handle.close();
    return 0;
  }
  open_mode = mode;
  reading = false;
  torvel_ios::stop_writing(*this);
  torvel_ios::set_get_area(*this, 0);
  if ((mode & _S_ate) && this->seekoff(0, _S_end, mode).offset == -1) {
    close();
    return 0;
  }
  return this;
}

template<typename _CharT, typename _Traits>
basic_filebuf<_CharT, _Traits>* basic_filebuf<_CharT, _Traits>::close() {
  if (file_handle.host_file == 0) return 0;
  bool settled = torvel_ios::settle_output(*this);
  open_mode = _Ios_Openmode(0);
  reading = false;
  writing = false;
  _M_destroy_internal_buffer();
  this->get_begin = 0;
  this->get_next = 0;
  this->get_end = 0;
  this->put_begin = 0;
  this->put_next = 0;
  this->put_end = 0;
  bool closed = file_handle.close() != 0;
  return settled && closed ? this : 0;
}

template<typename _CharT, typename _Traits>
void basic_filebuf<_CharT, _Traits>::_M_allocate_internal_buffer() {
  if (buffer_owned || buffer != 0) return;
  buffer = static_cast<char_type*>(malloc(buffer_size));
  buffer_owned = true;
}

template<typename _CharT, typename _Traits>
void basic_filebuf<_CharT, _Traits>::_M_destroy_internal_buffer() {
  if (!buffer_owned) return;
  free(buffer);
  buffer = 0;
  buffer_owned = false;
}

template<typename _CharT, typename _Traits>
bool basic_filebuf<_CharT, _Traits>::flush_out() {
  return torvel_ios::settle_output(*this);
}

template<typename _CharT, typename _Traits>
void basic_filebuf<_CharT, _Traits>::drop_in() {
  torvel_ios::settle_read_ahead(*this);
}

template<typename _CharT, typename _Traits>
void basic_filebuf<_CharT, _Traits>::imbue(const locale&) {}

// A caller's array serves from the next open on and is never freed here;
// without one the next open allocates the default size. An open file keeps
// its buffer.
template<typename _CharT, typename _Traits>
typename basic_filebuf<_CharT, _Traits>::__streambuf_type* basic_filebuf<_CharT, _Traits>::setbuf(char_type* s,
                                                                                                  streamsize n) {
  if (file_handle.host_file != 0) return this;
  _M_destroy_internal_buffer();
  if (s != 0 && n > 0) {
    buffer = s;
    buffer_size = n;
  } else {
    buffer = 0;
    buffer_size = torvel_ios::default_buffer_size;
  }
  return this;
}

template class basic_filebuf<char>;

}
