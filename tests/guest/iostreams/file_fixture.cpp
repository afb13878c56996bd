// 64-bit directory entries and file sizes: a large file system hands out
// inode numbers the 32-bit readdir and stat refuse.
#define _FILE_OFFSET_BITS 64

#include "file_fixture.h"

#include <dirent.h>
#include <fcntl.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

#include "c_functions.h"

namespace fixture {

temp_folder::temp_folder() {
  strcpy(folder_, "/tmp/torvel-files-XXXXXX");
  if (mkdtemp(folder_) == NULL) check::fail(__FILE__, __LINE__, "mkdtemp");
}

temp_folder::~temp_folder() {
  DIR* dir = opendir(folder_);
  if (dir != NULL) {
    while (dirent* entry = readdir(dir)) {
      if (strcmp(entry->d_name, ".") == 0 || strcmp(entry->d_name, "..") == 0) continue;
      char path[sizeof folder_ + 256 + 2];
      snprintf(path, sizeof path, "%s/%s", folder_, entry->d_name);
      if (unlink(path) != 0) rmdir(path);
    }
    closedir(dir);
  }
  if (rmdir(folder_) != 0) {
    check::set_case("temporary folder");
    check::fail(__FILE__, __LINE__, "the temporary folder could not be removed");
  }
}

const char* temp_folder::path(const char* name) {
  char* p = paths_[next_];
  next_ = (next_ + 1) % 4;
  size_t used = strlen(folder_);
  memcpy(p, folder_, used);
  p[used] = '/';
  snprintf(p + used + 1, sizeof paths_[0] - used - 1, "%s", name);
  return p;
}

void write_file(const char* path, const void* bytes, size_t n) {
  int fd = open(path, O_WRONLY | O_CREAT | O_TRUNC, 0644);
  if (fd < 0) {
    check::fail(__FILE__, __LINE__, path);
    return;
  }
  const char* p = static_cast<const char*>(bytes);
  while (n > 0) {
    ssize_t done = write(fd, p, n);
    if (done <= 0) {
      check::fail(__FILE__, __LINE__, "write");
      break;
    }
    p += done;
    n -= done;
  }
  close(fd);
}

void write_file(const char* path, const char* text) { write_file(path, text, strlen(text)); }

long read_file(const char* path, void* out, size_t capacity) {
  int fd = open(path, O_RDONLY);
  if (fd < 0) return -1;
  size_t used = 0;
  for (;;) {
    if (used == capacity) {
      char extra;
      if (read(fd, &extra, 1) > 0) used = capacity + 1;  // too big for out
      break;
    }
    ssize_t got = read(fd, static_cast<char*>(out) + used, capacity - used);
    if (got <= 0) break;
    used += got;
  }
  close(fd);
  return used > capacity ? -1 : static_cast<long>(used);
}

bool file_is(const char* path, const char* text) {
  static char bytes[1 << 16];
  long n = read_file(path, bytes, sizeof bytes);
  return n == static_cast<long>(strlen(text)) && memcmp(bytes, text, n) == 0;
}

long file_size(const char* path) {
  struct stat st;
  return stat(path, &st) == 0 ? static_cast<long>(st.st_size) : -1;
}

void check_closed(const std::filebuf& b) {
  CHECK(!b.is_open());
  CHECK_EQ(b.open_mode, 0);
  CHECK(b.buffer == 0);
  CHECK_EQ(b.buffer_owned, 0);
  CHECK(get_area_null(b));
}

int lowest_free_fd() {
  int fd = dup(0);
  close(fd);
  return fd;
}

}
