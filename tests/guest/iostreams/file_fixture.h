// Real files for the file buffer and file stream tests: a temporary folder
// that goes away with everything in it, whole-file reads and writes through
// the system calls (the C library's <stdio.h> would clash with the guest's
// conversion-state type), and the host calls the test host records.
#ifndef TORVEL_TEST_FILE_FIXTURE_H
#define TORVEL_TEST_FILE_FIXTURE_H

#include <stddef.h>

#include "check.h"
#include "fstream.h"
#include "test_host.h"

inline void* operator new(size_t, void* where) throw() { return where; }

namespace fixture {

typedef std::ios_base ios;

// A folder under /tmp, removed with its files at the end of the scope; one
// that cannot be removed counts as a failed check.
class temp_folder {
public:
  temp_folder();
  ~temp_folder();
  // folder/name; the text stays valid until the fourth call after.
  const char* path(const char* name);

private:
  char folder_[64];
  char paths_[4][128];
  int next_ = 0;
};

void write_file(const char* path, const void* bytes, size_t n);
void write_file(const char* path, const char* text);
// The whole file into out (at most capacity bytes); its size, or -1.
long read_file(const char* path, void* out, size_t capacity);
// The file holds exactly this text.
bool file_is(const char* path, const char* text);
long file_size(const char* path);

// The number the next file descriptor would get: a file left open by the
// code under test shows as a higher number than before.
int lowest_free_fd();

// Host calls since the last mark.
class stdio_calls {
public:
  stdio_calls() { mark(); }
  void mark() { at_ = torvel_test_stdio_counts(); }
  unsigned long freads() const { return torvel_test_stdio_counts().freads - at_.freads; }
  unsigned long fwrites() const { return torvel_test_stdio_counts().fwrites - at_.fwrites; }

private:
  torvel_test_stdio at_;
};

inline ios::openmode mode(int bits) { return ios::openmode(bits); }

// The file buffer's get and put areas.
inline bool get_area_null(const std::filebuf& b) { return b.get_begin == 0 && b.get_next == 0 && b.get_end == 0; }
inline bool put_area_null(const std::filebuf& b) { return b.put_begin == 0 && b.put_next == 0 && b.put_end == 0; }
// An empty get area at the start of the buffer, as a switch to writing leaves it.
inline bool get_area_empty_at_buffer(const std::filebuf& b) {
  return b.get_begin == b.buffer && b.get_next == b.buffer && b.get_end == b.buffer;
}
// A put area over the whole buffer with this many bytes pending.
inline bool put_area_holds(const std::filebuf& b, int pending) {
  return b.put_begin == b.buffer && b.put_next == b.buffer + pending && b.put_end == b.buffer + b.buffer_size;
}
inline bool put_area_reset(const std::filebuf& b) { return put_area_holds(b, 0); }

// The buffer as construction and close leave it: no file, no mode, no
// buffer of its own, no get area.
void check_closed(const std::filebuf& b);

// The C library's FILE, only passed around.
extern "C" {
void* fopen(const char* path, const char* mode);
int fclose(void* file);
size_t fwrite(const void* src, size_t size, size_t count, void* file);
}

}

#endif
