// std::__basic_file<char> of the guest ABI (8 bytes): the host FILE behind a
// file buffer and whether this object opened it (and so must close it). Its
// members are the thin layer over the host's C standard I/O. It is an
// explicit specialisation, so its members are regular exports.
#ifndef TORVEL_BASIC_FILE_H
#define TORVEL_BASIC_FILE_H

#include "ios_types.h"

// The host's FILE under the name the guest ABI's signatures carry; opaque.
struct __sFILE;

namespace std {

template<typename _CharT> class __basic_file;

template<>
class TORVEL_EXPORT __basic_file<char> {
public:
  // The argument (a lock in the legacy library) is ignored.
  explicit __basic_file(void* lock = 0);
  ~__basic_file();

  bool is_open() const;
  // The int argument (permissions) is ignored.
  __basic_file* open(const char* name, _Ios_Openmode mode, int prot = 0664);
  __basic_file* sys_open(__sFILE* f, _Ios_Openmode mode);
  __basic_file* sys_open(int fd, _Ios_Openmode mode);
  __basic_file* close();
  int fd();
  __sFILE* file();

  streamsize xsgetn(char* s, streamsize n);
  streamsize xsputn(const char* s, streamsize n);
  int sync();
  streamoff seekoff(streamoff off, _Ios_Seekdir dir);
  streamsize showmanyc();

  __sFILE* host_file;
  bool owns_file;
  char padding[3];

private:
  __basic_file(const __basic_file&);
  __basic_file& operator=(const __basic_file&);
};

static_assert(sizeof(__basic_file<char>) == 8, "__basic_file<char>");
static_assert(__builtin_offsetof(__basic_file<char>, host_file) == 0, "__basic_file<char>::host_file");
static_assert(__builtin_offsetof(__basic_file<char>, owns_file) == 4, "__basic_file<char>::owns_file");

}

#endif
