// Opening files: the open-mode table (every row, both columns, the refused
// combinations), the bit each file stream adds, `ate` with a seek that
// fails, an internal buffer that cannot be allocated, and the members of
// std::__basic_file<char> over host files that it opens or borrows.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "c_functions.h"
#include "file_fixture.h"

namespace {

using fixture::ios;
using fixture::mode;

const int app = ios::app, ate = ios::ate, bin = ios::binary, in = ios::in, out = ios::out, trunc = ios::trunc;

// Makes the next host open recognisable: a call that fails at once but is
// recorded, so that a mode text still reading "unused" afterwards means the
// code under test never asked the host.
void mark_no_open() {
  void* f = fixture::fopen("/nonexistent/torvel", "unused");
  if (f != 0) fixture::fclose(f);
}

struct mode_row {
  int bits;
  const char* text;  // null: no host mode, the open fails
};

const mode_row mode_rows[] = {
    {out, "w"},
    {out | trunc, "w"},
    {out | app, "a"},
    {app, "a"},
    {in, "r"},
    {in | out, "r+"},
    {in | out | trunc, "w+"},
    {in | out | app, "a+"},
    {in | app, "a+"},
    {out | bin, "wb"},
    {out | trunc | bin, "wb"},
    {out | app | bin, "ab"},
    {app | bin, "ab"},
    {in | bin, "rb"},
    {in | out | bin, "r+b"},
    {in | out | trunc | bin, "w+b"},
    {in | out | app | bin, "a+b"},
    {in | app | bin, "a+b"},
    {in | ate, "r"},  // ate plays no part in the host mode
    {out | app | ate | bin, "ab"},
    {0, 0},
    {trunc, 0},
    {in | trunc, 0},
    {app | trunc, 0},
    {out | app | trunc, 0},
    {in | app | trunc, 0},
    {in | out | app | trunc, 0},
    {bin, 0},
    {ate, 0},
    {in | trunc | bin, 0},
};

void check_mode_table(fixture::temp_folder& folder) {
  const char* path = folder.path("modes");
  int free_fd = fixture::lowest_free_fd();
  for (const mode_row& row : mode_rows) {
    char name[48];
    snprintf(name, sizeof name, "open mode %#x", row.bits);
    check::set_case(name);
    fixture::write_file(path, "0123456789");
    mark_no_open();
    check::heap_probe heap;
    std::filebuf b;
    std::filebuf* result = b.open(path, mode(row.bits));
    if (row.text != 0) {
      CHECK(result == &b);
      CHECK_TEXT(torvel_test_last_open_mode(), row.text);
      CHECK_EQ(b.open_mode, row.bits);
      CHECK_EQ(b.file_handle.owns_file, 1);
      CHECK(b.close() == &b);
    } else {
      CHECK(result == 0);
      CHECK_TEXT(torvel_test_last_open_mode(), "unused");
      CHECK(!b.is_open());
      CHECK_EQ(b.open_mode, 0);
      CHECK(b.buffer == 0);
      CHECK_EQ(heap.allocations(), 0);
    }
    CHECK_EQ(fixture::lowest_free_fd(), free_fd);
  }
}

// What each file stream hands the buffer: its own bit added, nothing else.
template<typename S> void open_by_constructor(const char* path, int bits, ios::iostate* state, bool* open) {
  S s(path, mode(bits));
  *state = s.rdstate();
  *open = s.is_open();
}

template<typename S> void open_by_member(const char* path, int bits, ios::iostate* state, bool* open) {
  S s;
  s.open(path, mode(bits));
  *state = s.rdstate();
  *open = s.is_open();
}

struct stream_row {
  const char* name;
  void (*open)(const char*, int, ios::iostate*, bool*);
  int bits;
  bool existing;     // the file exists beforehand
  const char* text;  // the host mode asked for; "unused": no host call
  bool opens;
};

void check_stream_modes(fixture::temp_folder& folder) {
  const stream_row rows[] = {
      {"ifstream(in)", open_by_constructor<std::ifstream>, in, true, "r", true},
      {"ifstream.open(in)", open_by_member<std::ifstream>, in, true, "r", true},
      {"ifstream(no bits)", open_by_constructor<std::ifstream>, 0, true, "r", true},
      {"ifstream(out)", open_by_constructor<std::ifstream>, out, true, "r+", true},
      {"ifstream(trunc)", open_by_member<std::ifstream>, trunc, true, "unused", false},
      {"ifstream(in) on a missing file", open_by_constructor<std::ifstream>, in, false, "r", false},
      {"ofstream(out | trunc)", open_by_constructor<std::ofstream>, out | trunc, true, "w", true},
      {"ofstream(app)", open_by_constructor<std::ofstream>, app, true, "a", true},
      {"ofstream.open(app)", open_by_member<std::ofstream>, app, true, "a", true},
      {"ofstream(no bits)", open_by_member<std::ofstream>, 0, true, "w", true},
      {"ofstream(in)", open_by_constructor<std::ofstream>, in, true, "r+", true},
      {"ofstream(in) on a missing file", open_by_constructor<std::ofstream>, in, false, "r+", false},
      {"ofstream(in | trunc)", open_by_member<std::ofstream>, in | trunc, false, "w+", true},
      {"fstream(in | out)", open_by_constructor<std::fstream>, in | out, true, "r+", true},
      {"fstream(in | out | trunc)", open_by_constructor<std::fstream>, in | out | trunc, true, "w+", true},
      {"fstream.open(in | out | trunc)", open_by_member<std::fstream>, in | out | trunc, false, "w+", true},
      {"fstream(in)", open_by_constructor<std::fstream>, in, true, "r", true},
      {"fstream(out | bin)", open_by_member<std::fstream>, out | bin, true, "wb", true},
      {"fstream(no bits)", open_by_constructor<std::fstream>, 0, true, "unused", false},
      {"fstream.open(no bits)", open_by_member<std::fstream>, 0, true, "unused", false},
  };
  const char* path = folder.path("stream-modes");
  check::heap_probe heap;
  for (const stream_row& row : rows) {
    check::set_case(row.name);
    unlink(path);
    if (row.existing) fixture::write_file(path, "old");
    mark_no_open();
    ios::iostate state = ios::badbit;
    bool open = !row.opens;
    row.open(path, row.bits, &state, &open);
    CHECK_TEXT(torvel_test_last_open_mode(), row.text);
    CHECK_EQ(open, row.opens);
    CHECK_EQ(state, row.opens ? 0 : ios::failbit);
    CHECK_EQ(heap.live(), 0);
  }
}

// ate: the buffer starts at the end; where the host cannot seek (a FIFO),
// the open fails and closes the host file again.
void check_at_end(fixture::temp_folder& folder) {
  const char* path = folder.path("at-end");
  check::set_case("ate on a file");
  fixture::write_file(path, "0123456789");
  {
    std::filebuf b;
    CHECK(b.open(path, mode(in | out | ate)) == &b);
    CHECK_EQ(b.pubseekoff(0, ios::cur, mode(in)).offset, 10);
    CHECK_EQ(b.sputc('X'), 'X');
  }
  CHECK(fixture::file_is(path, "0123456789X"));
  {
    std::ifstream s(path, mode(in | ate));
    CHECK(s.is_open());
    CHECK_EQ(s.tellg().offset, 11);
    CHECK_EQ(s.get(), -1);
  }

  check::set_case("ate on a FIFO");
  const char* fifo = folder.path("fifo");
  CHECK_EQ(mkfifo(fifo, 0600), 0);
  int free_fd = fixture::lowest_free_fd();
  check::heap_probe heap;
  {
    std::filebuf b;
    CHECK(b.open(fifo, mode(in | out | ate)) == 0);
    CHECK_TEXT(torvel_test_last_open_mode(), "r+");  // the host did open it
    fixture::check_closed(b);
  }
  CHECK_EQ(fixture::lowest_free_fd(), free_fd);
  CHECK_EQ(heap.live(), 0);
  {
    std::fstream s(fifo, mode(in | out | ate));
    CHECK(!s.is_open());
    CHECK_EQ(s.rdstate(), ios::failbit);
  }
  CHECK_EQ(fixture::lowest_free_fd(), free_fd);
  CHECK_EQ(heap.live(), 0);
  {
    std::fstream s(fifo, mode(in | out));  // without ate the FIFO opens
    CHECK(s.is_open());
  }
}

// The internal buffer cannot be allocated: the open fails as a whole, with
// the host file closed again and nothing kept.
void check_buffer_allocation_failure(fixture::temp_folder& folder) {
  const char* path = folder.path("no-memory");
  fixture::write_file(path, "0123456789");
  int free_fd = fixture::lowest_free_fd();
  check::heap_probe heap;

  check::set_case("no memory for the buffer");
  {
    std::filebuf b;
    torvel_test_fail_allocation_of_size(8192);
    CHECK(b.open(path, mode(in)) == 0);
    torvel_test_fail_allocation_of_size(0);
    fixture::check_closed(b);
    CHECK_EQ(fixture::lowest_free_fd(), free_fd);
    CHECK_EQ(heap.live(), 0);
    CHECK_EQ(b.sgetc(), -1);
    // Memory again: the same object opens normally.
    CHECK(b.open(path, mode(in)) == &b);
    CHECK_EQ(b.sgetc(), '0');
  }
  CHECK_EQ(heap.live(), 0);

  check::set_case("no memory for a stream's buffer");
  {
    std::ifstream s;
    torvel_test_fail_allocation_of_size(8192);
    s.open(path);
    torvel_test_fail_allocation_of_size(0);
    CHECK(!s.is_open());
    CHECK_EQ(s.rdstate(), ios::failbit);
  }
  CHECK_EQ(fixture::lowest_free_fd(), free_fd);
  CHECK_EQ(heap.live(), 0);

  check::set_case("a caller's array needs no memory");
  {
    char array[16];
    std::filebuf b;
    b.pubsetbuf(array, sizeof array);
    torvel_test_fail_allocation_of_size(16);
    CHECK(b.open(path, mode(in)) == &b);
    torvel_test_fail_allocation_of_size(0);
    CHECK_EQ(b.sgetc(), '0');
    CHECK(b.get_begin == array);
  }
  CHECK_EQ(heap.live(), 0);
}

void check_basic_file(fixture::temp_folder& folder) {
  typedef std::__basic_file<char> basic_file;
  const char* path = folder.path("basic-file");
  int free_fd = fixture::lowest_free_fd();
  check::heap_probe heap;

  check::set_case("__basic_file construction");
  {
    alignas(4) unsigned char storage[sizeof(basic_file)];
    memset(storage, 0xa5, sizeof storage);
    basic_file* f = new (storage) basic_file(storage);  // the argument is ignored
    for (unsigned char byte : storage) CHECK_EQ(byte, 0);
    CHECK(!f->is_open());
    CHECK_EQ(f->fd(), -1);
    CHECK(f->file() == 0);
    CHECK(f->close() == 0);
    char c;  // a closed file transfers nothing, and does not crash
    CHECK_EQ(f->xsgetn(&c, 1), 0);
    CHECK_EQ(f->xsputn("x", 1), 0);
    CHECK_EQ(f->seekoff(0, ios::beg), -1);
    CHECK_EQ(f->sync(), -1);
    f->~basic_file();
  }

  check::set_case("__basic_file::open");
  {
    basic_file f;
    CHECK(f.open(path, mode(out | trunc), 0) == &f);
    CHECK(f.open(path, mode(in), 0) == 0);  // already open
    CHECK(f.is_open());
    CHECK_EQ(f.owns_file, 1);
    CHECK(f.fd() >= 0);
    CHECK(f.file() == f.host_file && f.file() != 0);
    CHECK_EQ(f.xsputn("0123456789", 10), 10);
    CHECK_EQ(f.xsputn("x", 0), 0);
    CHECK_EQ(f.sync(), 0);
    CHECK(fixture::file_is(path, "0123456789"));
    CHECK_EQ(f.seekoff(-4, ios::cur), 6);
    CHECK_EQ(f.xsputn("ab", 2), 2);
    CHECK_EQ(f.showmanyc(), 0);
    CHECK(f.close() == &f);
    CHECK(!f.is_open());
    CHECK_EQ(f.owns_file, 1);  // left as it was
    CHECK(fixture::file_is(path, "012345ab89"));
    CHECK(f.open(path, mode(in | trunc), 0) == 0);  // no host mode
    CHECK(f.open(path, mode(in), 0) == &f);
    char got[16] = {};
    CHECK_EQ(f.xsgetn(got, sizeof got - 1), 10);
    CHECK_EQ(f.seekoff(2, ios::beg), 2);
    CHECK_EQ(f.seekoff(-1, ios::end), 9);
    CHECK_EQ(f.seekoff(-20, ios::beg), -1);
  }  // the destructor closes what it opened
  CHECK_EQ(fixture::lowest_free_fd(), free_fd);

  check::set_case("__basic_file::sys_open(FILE*) borrows");
  {
    void* host = fixture::fopen(path, "w");
    {
      basic_file f;
      CHECK(f.sys_open(static_cast<__sFILE*>(0), mode(out)) == 0);
      CHECK(f.sys_open(static_cast<__sFILE*>(host), mode(0)) == &f);  // the mode is not looked at
      CHECK(f.sys_open(static_cast<__sFILE*>(host), mode(out)) == 0);  // already open
      CHECK_EQ(f.owns_file, 0);
      CHECK_EQ(f.xsputn("abc", 3), 3);
      CHECK(f.close() == &f);  // only flushed
      CHECK(fixture::file_is(path, "abc"));
      CHECK(f.sys_open(static_cast<__sFILE*>(host), mode(out)) == &f);
      CHECK_EQ(f.xsputn("def", 3), 3);
    }  // the destructor flushes a borrowed file and leaves it open
    CHECK(fixture::file_is(path, "abcdef"));
    CHECK_EQ(fixture::fwrite("g", 1, 1, host), 1);
    CHECK_EQ(fixture::fclose(host), 0);
    CHECK(fixture::file_is(path, "abcdefg"));
  }
  CHECK_EQ(fixture::lowest_free_fd(), free_fd);

  check::set_case("__basic_file::sys_open(int) owns");
  {
    int fd = open(path, O_RDWR);
    basic_file f;
    CHECK(f.sys_open(fd, mode(in | trunc)) == 0);  // no host mode
    CHECK(f.sys_open(fd, mode(in | out)) == &f);
    CHECK_TEXT(torvel_test_last_open_mode(), "r+");
    CHECK_EQ(f.owns_file, 1);
    CHECK_EQ(f.fd(), fd);
    char got[4] = {};
    CHECK_EQ(f.xsgetn(got, 3), 3);
    CHECK_TEXT(got, "abc");
    CHECK(f.close() == &f);  // closes the descriptor too
  }
  CHECK_EQ(fixture::lowest_free_fd(), free_fd);
  CHECK_EQ(heap.live(), 0);
}

}

int main() {
  {
    fixture::temp_folder folder;
    check_mode_table(folder);
    check_stream_modes(folder);
    check_at_end(folder);
    check_buffer_allocation_failure(folder);
    check_basic_file(folder);
  }  // the folder goes, and says so if it cannot
  return check::finish();
}
