// std::basic_filebuf<char>: the area functions and the seeks. The one
// buffer is read-ahead while reading and pending output while writing; each
// function settles the other use first. Transfers of at least a buffer's
// length go straight between the caller's memory and the host.
#include "filebuf.h"

#include "c_library.h"
#include "filebuf_steps.h"

namespace std {

template<typename _CharT, typename _Traits>
typename basic_filebuf<_CharT, _Traits>::int_type basic_filebuf<_CharT, _Traits>::underflow() {
  if (!torvel_ios::can_read(*this)) return torvel_ios::end_of_file;
  if (writing) {
    if (!torvel_ios::settle_output_for_input(*this)) return torvel_ios::end_of_file;
    torvel_ios::stop_writing(*this);
  }
  if (this->get_next < this->get_end) return torvel_ios::byte_value(*this->get_next);
  size_t got = fread(buffer, 1, buffer_size, torvel_ios::host_of(*this));
  torvel_ios::set_get_area(*this, static_cast<streamsize>(got));
  reading = true;
  return got > 0 ? torvel_ios::byte_value(*buffer) : torvel_ios::end_of_file;
}

// The character goes back into the read-ahead only; settling the
// read-ahead later moves the host file back past it.
template<typename _CharT, typename _Traits>
typename basic_filebuf<_CharT, _Traits>::int_type basic_filebuf<_CharT, _Traits>::pbackfail(int_type c) {
  if (!(open_mode & _S_in)) return torvel_ios::end_of_file;
  if (!(this->get_begin < this->get_next)) return torvel_ios::end_of_file;
  --this->get_next;
  if (c == torvel_ios::end_of_file) return 0;
  *this->get_next = static_cast<char_type>(c);
  return c;
}

template<typename _CharT, typename _Traits>
typename basic_filebuf<_CharT, _Traits>::int_type basic_filebuf<_CharT, _Traits>::overflow(int_type c) {
  if (!torvel_ios::can_write(*this)) return torvel_ios::end_of_file;
  torvel_ios::settle_read_ahead(*this);
  if (writing) {
    if (!torvel_ios::settle_output(*this)) return torvel_ios::end_of_file;
  } else {
    torvel_ios::set_get_area(*this, 0);
    torvel_ios::reset_put_area(*this);
    writing = true;
  }
  if (c == torvel_ios::end_of_file) return 0;
  *this->put_next++ = static_cast<char_type>(c);
  return c;
}

template<typename _CharT, typename _Traits>
streamsize basic_filebuf<_CharT, _Traits>::xsgetn(char_type* s, streamsize n) {
  if (n <= 0) return 0;
  streamsize held = this->get_end - this->get_next;
  streamsize taken = held > 0 ? (held < n ? held : n) : 0;
  if (taken > 0) {
    memcpy(s, this->get_next, taken);
    this->get_next += taken;
  }
  streamsize rest = n - taken;
  if (rest <= 0) return taken;
  if (rest >= buffer_size && torvel_ios::can_read(*this) && !writing) {
    size_t got = fread(s + taken, 1, rest, torvel_ios::host_of(*this));
    torvel_ios::set_get_area(*this, 0);
    reading = true;
    return taken + static_cast<streamsize>(got);
  }
  return taken + __streambuf_type::xsgetn(s + taken, rest);
}

template<typename _CharT, typename _Traits>
streamsize basic_filebuf<_CharT, _Traits>::xsputn(const char_type* s, streamsize n) {
  if (n >= buffer_size && torvel_ios::can_write(*this)) {
    torvel_ios::settle_read_ahead(*this);
    if (writing) {
      if (!torvel_ios::settle_output(*this)) return 0;
    } else {
      torvel_ios::reset_put_area(*this);
      writing = true;
    }
    return static_cast<streamsize>(fwrite(s, 1, n, torvel_ios::host_of(*this)));
  }
  return __streambuf_type::xsputn(s, n);
}

template<typename _CharT, typename _Traits>
typename basic_filebuf<_CharT, _Traits>::pos_type basic_filebuf<_CharT, _Traits>::seekoff(off_type off,
                                                                                          _Ios_Seekdir dir,
                                                                                          _Ios_Openmode) {
  if (file_handle.host_file == 0) return pos_type(off_type(-1));
  if (writing) {
    if (!torvel_ios::settle_output(*this)) return pos_type(off_type(-1));
    torvel_ios::stop_writing(*this);
  }
  torvel_ios::settle_read_ahead(*this);
  return pos_type(file_handle.seekoff(off, dir));
}

template<typename _CharT, typename _Traits>
typename basic_filebuf<_CharT, _Traits>::pos_type basic_filebuf<_CharT, _Traits>::seekpos(pos_type pos,
                                                                                          _Ios_Openmode which) {
  return this->seekoff(pos.offset, _S_beg, which);
}

// Read-ahead stays where it is: only pending output goes to the host.
template<typename _CharT, typename _Traits>
int basic_filebuf<_CharT, _Traits>::sync() {
  if (file_handle.host_file == 0 || !writing) return 0;
  bool settled = torvel_ios::settle_output(*this);
  bool flushed = file_handle.sync() == 0;
  return settled && flushed ? 0 : -1;
}

template<typename _CharT, typename _Traits>
streamsize basic_filebuf<_CharT, _Traits>::showmanyc() {
  if (!torvel_ios::can_read(*this)) return -1;
  return this->get_end - this->get_next;
}

template basic_filebuf<char>::int_type basic_filebuf<char>::underflow();
template basic_filebuf<char>::int_type basic_filebuf<char>::pbackfail(int_type);
template basic_filebuf<char>::int_type basic_filebuf<char>::overflow(int_type);
template streamsize basic_filebuf<char>::xsgetn(char_type*, streamsize);
template streamsize basic_filebuf<char>::xsputn(const char_type*, streamsize);
template basic_filebuf<char>::pos_type basic_filebuf<char>::seekoff(off_type, _Ios_Seekdir, _Ios_Openmode);
template basic_filebuf<char>::pos_type basic_filebuf<char>::seekpos(pos_type, _Ios_Openmode);
template int basic_filebuf<char>::sync();
template streamsize basic_filebuf<char>::showmanyc();

}
