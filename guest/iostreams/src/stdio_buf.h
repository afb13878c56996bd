// std::stdio_buf: the buffer under the four standard streams (40 bytes). It
// has no areas of its own and hands every request at once to the host's C
// standard I/O, so stream output and the guest's printf interleave in call
// order.
#ifndef TORVEL_STDIO_BUF_H
#define TORVEL_STDIO_BUF_H

#include "c_stdio.h"
#include "streambuf.h"

namespace std {

// All members are defined in the class: the class has no key function, so
// its type information is a weak definition, while the virtual table and
// the members stay inside the library.
class TORVEL_EXPORT stdio_buf : public basic_streambuf<char> {
public:
  explicit stdio_buf(FILE* file) : host_file(file), last_char(-1) {}
  virtual ~stdio_buf() {}

  virtual int sync() { return fflush(host_file); }

  virtual streamsize xsgetn(char* s, streamsize n) {
    if (n <= 0) return 0;
    streamsize count = static_cast<streamsize>(fread(s, 1, n, host_file));
    if (count > 0) last_char = static_cast<unsigned char>(s[count - 1]);
    return count;
  }

  // A peek does not make the character eligible for pushback.
  virtual int underflow() {
    int c = getc(host_file);
    if (c != -1) ungetc(c, host_file);
    return c;
  }

  virtual int uflow() {
    int c = getc(host_file);
    last_char = c;
    return c;
  }

  // At most one character read by uflow or xsgetn goes back without being
  // named; a second unget in a row fails.
  virtual int pbackfail(int c) {
    if (c == -1) {
      int taken = last_char;
      last_char = -1;
      if (taken == -1) return -1;
      return ungetc(taken, host_file);
    }
    last_char = -1;
    return ungetc(c, host_file);
  }

  // A single character, as every character inserter hands over, goes
  // through putc: the same byte at the same place of the host stream, at a
  // fraction of fwrite's cost.
  virtual streamsize xsputn(const char* s, streamsize n) {
    if (n <= 0) return 0;
    if (n == 1) return putc(static_cast<unsigned char>(*s), host_file) == -1 ? 0 : 1;
    return static_cast<streamsize>(fwrite(s, 1, n, host_file));
  }

  virtual int overflow(int c) {
    if (c == -1) return fflush(host_file) == 0 ? 0 : -1;
    return putc(c, host_file);
  }

  FILE* host_file;
  int last_char;
};

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Winvalid-offsetof"
static_assert(sizeof(stdio_buf) == 40, "stdio_buf");
static_assert(__builtin_offsetof(stdio_buf, host_file) == 32, "stdio_buf::host_file");
static_assert(__builtin_offsetof(stdio_buf, last_char) == 36, "stdio_buf::last_char");
#pragma GCC diagnostic pop

}

#endif
