// The two settling steps of the file buffer, which every switch between
// reading and writing, every seek and every close performs first. The
// buffer's members run them inline; flush_out() and drop_in() are the same
// steps under exported names.
#ifndef TORVEL_FILEBUF_STEPS_H
#define TORVEL_FILEBUF_STEPS_H

#include "buffer_steps.h"
#include "filebuf.h"
#include "host_file_steps.h"

namespace torvel_ios __attribute__((visibility("hidden"))) {

typedef std::basic_filebuf<char> file_buffer;

const int default_buffer_size = 8192;

inline FILE* host_of(const file_buffer& b) { return host(b.file_handle.host_file); }

inline bool can_read(const file_buffer& b) { return (b.open_mode & std::_S_in) != 0 && b.file_handle.host_file != 0; }

inline bool can_write(const file_buffer& b) {
  return (b.open_mode & (std::_S_out | std::_S_app)) != 0 && b.file_handle.host_file != 0;
}

// A get area of the given length at the start of the buffer (0 for none
// left to read).
inline void set_get_area(file_buffer& b, std::streamsize length) {
  b.get_begin = b.buffer;
  b.get_next = b.buffer;
  b.get_end = b.buffer + length;
}

inline void reset_put_area(file_buffer& b) {
  b.put_begin = b.buffer;
  b.put_next = b.buffer;
  b.put_end = b.buffer + b.buffer_size;
}

// Hands pending output to the host. Output the host refuses is dropped, so
// the buffer stays usable; the result says whether all of it was taken.
inline bool settle_output(file_buffer& b) {
  if (!b.writing) return true;
  bool taken = true;
  std::streamsize pending = b.put_next - b.put_begin;
  if (pending > 0) taken = fwrite(b.put_begin, 1, pending, host_of(b)) == static_cast<size_t>(pending);
  reset_put_area(b);
  return taken;
}

// Output settling before the buffer turns to reading. A host FILE may go
// from output to input only through a flush or a positioning call: glibc,
// for one, would otherwise read from where its own buffered output began and
// lose that output. So the host's buffer is flushed too; false when either
// step failed.
inline bool settle_output_for_input(file_buffer& b) {
  bool taken = settle_output(b);
  return fflush(host_of(b)) == 0 && taken;
}

// Leaves writing after settled output: the put area goes away.
inline void stop_writing(file_buffer& b) {
  b.writing = false;
  b.put_begin = 0;
  b.put_next = 0;
  b.put_end = 0;
}

// Gives unread read-ahead back: the host file moves back to the position
// the guest has consumed up to. The seek is made even when nothing is left
// unread, since a host FILE may only go from input to output through a
// positioning call: a BSD stdio drops its own read-ahead on the switch and
// would write at the end of it.
inline void settle_read_ahead(file_buffer& b) {
  if (!b.reading) return;
  fseeko(host_of(b), -static_cast<torvel_host_off_t>(b.get_end - b.get_next), 1);
  set_get_area(b, 0);
  b.reading = false;
}

}

#endif
