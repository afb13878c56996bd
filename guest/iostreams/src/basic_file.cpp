// std::__basic_file<char>: the host FILE of a file buffer, opened, borrowed,
// read, written, sought and closed through the host's C standard I/O.
#include "basic_file.h"

#include "host_file_steps.h"

namespace std {

namespace {

struct host_mode_row {
  int bits;  // among app, in, out and trunc
  const char* text;
  const char* binary_text;
};

const host_mode_row host_modes[] = {
    {_S_out, "w", "wb"},
    {_S_out | _S_trunc, "w", "wb"},
    {_S_out | _S_app, "a", "ab"},
    {_S_app, "a", "ab"},
    {_S_in, "r", "rb"},
    {_S_in | _S_out, "r+", "r+b"},
    {_S_in | _S_out | _S_trunc, "w+", "w+b"},
    {_S_in | _S_out | _S_app, "a+", "a+b"},
    {_S_in | _S_app, "a+", "a+b"},
};

}

// The host's mode text for an open mode, or null for the combinations the
// host cannot open (in with trunc, trunc alone, no bits, ...). ate plays no
// part here: the file buffer seeks to the end after opening.
static const char* fopen_mode(_Ios_Openmode mode) {
  int bits = mode & (_S_app | _S_in | _S_out | _S_trunc);
  for (const host_mode_row& row : host_modes)
    if (row.bits == bits) return (mode & _S_bin) ? row.binary_text : row.text;
  return 0;
}

// beg and cur map to themselves; every other value counts from the end.
static int host_origin(_Ios_Seekdir dir) {
  if (dir == _S_beg) return 0;
  if (dir == _S_cur) return 1;
  return 2;
}

// Takes a FILE the host has just opened for this object, which will close
// it; a null FILE is a failed open.
static __basic_file<char>* take_owned(__basic_file<char>& file, FILE* f) {
  if (f == 0) return 0;
  file.host_file = reinterpret_cast<__sFILE*>(f);
  file.owns_file = true;
  return &file;
}

__basic_file<char>::__basic_file(void*) : host_file(0), owns_file(false), padding() {}

// Closes an owned FILE, flushes a borrowed one; the outcome has no one to
// go to here.
__basic_file<char>::~__basic_file() { close(); }

bool __basic_file<char>::is_open() const { return host_file != 0; }

__basic_file<char>* __basic_file<char>::open(const char* name, _Ios_Openmode mode, int) {
  const char* host_mode = fopen_mode(mode);
  if (host_mode == 0 || host_file != 0) return 0;
  return take_owned(*this, fopen(name, host_mode));
}

__basic_file<char>* __basic_file<char>::sys_open(__sFILE* f, _Ios_Openmode) {
  if (f == 0 || host_file != 0) return 0;
  host_file = f;
  owns_file = false;
  return this;
}

__basic_file<char>* __basic_file<char>::sys_open(int fd, _Ios_Openmode mode) {
  const char* host_mode = fopen_mode(mode);
  if (host_mode == 0 || host_file != 0) return 0;
  return take_owned(*this, fdopen(fd, host_mode));
}

__basic_file<char>* __basic_file<char>::close() {
  if (host_file == 0) return 0;
  FILE* f = torvel_ios::host(host_file);
  int status = owns_file ? fclose(f) : fflush(f);
  host_file = 0;
  return status == 0 ? this : 0;
}

int __basic_file<char>::fd() { return host_file != 0 ? fileno(torvel_ios::host(host_file)) : -1; }

__sFILE* __basic_file<char>::file() { return host_file; }

// The transfers, the flush and the seek refuse a closed file: handing the
// host a null FILE would crash it (or, for fflush, flush every stream).
streamsize __basic_file<char>::xsgetn(char* s, streamsize n) {
  if (n <= 0 || host_file == 0) return 0;
  return static_cast<streamsize>(fread(s, 1, n, torvel_ios::host(host_file)));
}

streamsize __basic_file<char>::xsputn(const char* s, streamsize n) {
  if (n <= 0 || host_file == 0) return 0;
  return static_cast<streamsize>(fwrite(s, 1, n, torvel_ios::host(host_file)));
}

int __basic_file<char>::sync() {
  if (host_file == 0) return -1;
  return fflush(torvel_ios::host(host_file));
}

streamoff __basic_file<char>::seekoff(streamoff off, _Ios_Seekdir dir) {
  if (host_file == 0) return -1;
  FILE* f = torvel_ios::host(host_file);
  if (fseeko(f, off, host_origin(dir)) != 0) return -1;
  return ftello(f);
}

streamsize __basic_file<char>::showmanyc() { return 0; }

}
