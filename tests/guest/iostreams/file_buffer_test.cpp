// The file buffer's one buffer over real files: each switch between reading
// and writing, the seeks from each state, the direct transfers of a whole
// buffer or more (one host call each, counted by the test host), a caller's
// array from setbuf, and what close and destruction write.
#include "c_functions.h"
#include "file_fixture.h"

namespace {

using fixture::get_area_empty_at_buffer;
using fixture::ios;
using fixture::put_area_null;
using fixture::stdio_calls;

const ios::openmode in = ios::in;
const ios::openmode out = ios::out;
const ios::openmode in_out = fixture::mode(ios::in | ios::out);
const int buffer_size = 8192;

// Deterministic bytes that differ from their neighbours and cover 0..250.
void fill_pattern(char* bytes, int n, int seed) {
  for (int i = 0; i < n; ++i) bytes[i] = static_cast<char>((i * 7 + seed) % 251);
}

void check_read_then_write(fixture::temp_folder& folder) {
  check::set_case("reading 3 of 10 bytes, then writing one");
  const char* path = folder.path("read-write");
  fixture::write_file(path, "0123456789");
  std::filebuf b;
  CHECK(b.open(path, in_out) == &b);
  stdio_calls calls;
  CHECK_EQ(b.sbumpc(), '0');
  CHECK_EQ(b.sbumpc(), '1');
  CHECK_EQ(b.sbumpc(), '2');
  CHECK_EQ(calls.freads(), 1);
  CHECK_EQ(b.get_end - b.get_begin, 10);  // all of it read ahead
  CHECK_EQ(b.reading, 1);
  CHECK_EQ(b.sputc('X'), 'X');
  CHECK_EQ(b.reading, 0);
  CHECK_EQ(b.writing, 1);
  CHECK(get_area_empty_at_buffer(b));
  CHECK(fixture::put_area_holds(b, 1));
  CHECK_EQ(b.buffer_size, buffer_size);
  CHECK(b.close() == &b);
  CHECK(fixture::file_is(path, "012X456789"));
}

void check_write_then_read(fixture::temp_folder& folder) {
  check::set_case("writing 3 bytes, then reading");
  const char* path = folder.path("write-read");
  fixture::write_file(path, "0123456789");
  std::filebuf b;
  CHECK(b.open(path, in_out) == &b);
  stdio_calls calls;
  CHECK_EQ(b.sputn("abc", 3), 3);
  CHECK_EQ(calls.fwrites(), 0);
  // The pending output reaches the host first; the read-ahead starts after it.
  CHECK_EQ(b.sgetc(), '3');
  CHECK_EQ(calls.fwrites(), 1);
  CHECK_EQ(calls.freads(), 1);
  CHECK_EQ(b.writing, 0);
  CHECK_EQ(b.reading, 1);
  CHECK(put_area_null(b));
  CHECK_EQ(b.get_end - b.get_next, 7);
  CHECK(b.close() == &b);
  CHECK(fixture::file_is(path, "abc3456789"));
}

void idle(std::filebuf&) {}
void read_three(std::filebuf& b) {
  for (int i = 0; i < 3; ++i) b.sbumpc();
}
void read_three_unget_one(std::filebuf& b) {
  read_three(b);
  b.sungetc();
}
void write_two(std::filebuf& b) { b.sputn("ab", 2); }
void read_to_end(std::filebuf& b) {
  while (b.sbumpc() != -1) {
  }
}

struct seek_case {
  const char* name;
  void (*prepare)(std::filebuf&);
  long long offset;
  ios::seekdir dir;
  long long want;      // the position returned
  int next;            // the character read after the seek
  const char* after;   // the file after close
};

void check_seeks(fixture::temp_folder& folder) {
  const seek_case cases[] = {
      {"idle, 4 from the start", idle, 4, ios::beg, 4, '4', "0123456789"},
      {"idle, 0 from here", idle, 0, ios::cur, 0, '0', "0123456789"},
      {"idle, -2 from the end", idle, -2, ios::end, 8, '8', "0123456789"},
      {"reading, 0 from here", read_three, 0, ios::cur, 3, '3', "0123456789"},
      {"reading, 2 from here", read_three, 2, ios::cur, 5, '5', "0123456789"},
      {"reading, 1 from the start", read_three, 1, ios::beg, 1, '1', "0123456789"},
      {"reading after an unget, 0 from here", read_three_unget_one, 0, ios::cur, 2, '2', "0123456789"},
      {"reading at the end, -3 from here", read_to_end, -3, ios::cur, 7, '7', "0123456789"},
      {"writing, 0 from here", write_two, 0, ios::cur, 2, '2', "ab23456789"},
      {"writing, -1 from the end", write_two, -1, ios::end, 9, '9', "ab23456789"},
      {"writing, 0 from the start", write_two, 0, ios::beg, 0, 'a', "ab23456789"},
      {"idle, before the start", idle, -1, ios::beg, -1, '0', "0123456789"},
  };
  const char* path = folder.path("seeks");
  for (const seek_case& c : cases) {
    check::set_case(c.name);
    fixture::write_file(path, "0123456789");
    std::filebuf b;
    CHECK(b.open(path, in_out) == &b);
    c.prepare(b);
    std::streampos pos = b.pubseekoff(c.offset, c.dir, in_out);
    CHECK_EQ(pos.offset, c.want);
    for (unsigned char byte : pos.conversion_state.__mbstate8) CHECK_EQ(byte, 0);
    if (c.want != -1) {
      CHECK_EQ(b.reading, 0);
      CHECK_EQ(b.writing, 0);
      CHECK(put_area_null(b));
      CHECK(get_area_empty_at_buffer(b));
    }
    CHECK_EQ(b.sgetc(), c.next);
    CHECK(b.close() == &b);
    CHECK(fixture::file_is(path, c.after));
  }

  check::set_case("seekpos");
  fixture::write_file(path, "0123456789");
  std::filebuf b;
  CHECK(b.open(path, in_out) == &b);
  read_three(b);
  CHECK_EQ(b.pubseekpos(std::streampos(7), in_out).offset, 7);
  CHECK_EQ(b.sbumpc(), '7');
  CHECK_EQ(b.pubseekoff(0, ios::cur, in_out).offset, 8);
  b.close();
  CHECK_EQ(b.pubseekoff(0, ios::beg, in_out).offset, -1);  // closed
  CHECK_EQ(b.pubseekpos(std::streampos(0), in_out).offset, -1);
}

void check_direct_reads(fixture::temp_folder& folder) {
  const char* path = folder.path("direct-reads");
  static char bytes[20000], got[30000];
  fill_pattern(bytes, sizeof bytes, 3);
  fixture::write_file(path, bytes, sizeof bytes);

  check::set_case("9000 bytes on a fresh buffer");
  {
    std::filebuf b;
    b.open(path, in);
    stdio_calls calls;
    CHECK_EQ(b.sgetn(got, 9000), 9000);
    CHECK_EQ(calls.freads(), 1);
    CHECK(memcmp(got, bytes, 9000) == 0);
    CHECK(get_area_empty_at_buffer(b));
    CHECK_EQ(b.reading, 1);
    CHECK_EQ(b.sgetn(got, 100), 100);  // buffered again
    CHECK_EQ(calls.freads(), 2);
    CHECK(memcmp(got, bytes + 9000, 100) == 0);
    CHECK_EQ(b.get_end - b.get_begin, buffer_size);
  }
  check::set_case("100 bytes on a fresh buffer");
  {
    std::filebuf b;
    b.open(path, in);
    stdio_calls calls;
    CHECK_EQ(b.sgetn(got, 100), 100);
    CHECK_EQ(calls.freads(), 1);
    CHECK_EQ(b.get_end - b.get_begin, buffer_size);
    CHECK_EQ(b.get_next - b.get_begin, 100);
    CHECK(memcmp(got, bytes, 100) == 0);
  }
  check::set_case("the rest of the read-ahead, then a buffer's length directly");
  {
    std::filebuf b;
    b.open(path, in);
    b.sgetn(got, 100);
    stdio_calls calls;
    CHECK_EQ(b.sgetn(got, buffer_size - 100 + 9000), buffer_size - 100 + 9000);
    CHECK_EQ(calls.freads(), 1);
    CHECK(memcmp(got, bytes + 100, buffer_size - 100 + 9000) == 0);
  }
  check::set_case("more than the file holds");
  {
    std::filebuf b;
    b.open(path, in);
    stdio_calls calls;
    CHECK_EQ(b.sgetn(got, sizeof got), static_cast<int>(sizeof bytes));
    CHECK_EQ(calls.freads(), 1);
    CHECK(memcmp(got, bytes, sizeof bytes) == 0);
    CHECK_EQ(b.sgetc(), -1);
  }
  check::set_case("a buffer's length while writing goes through the buffer");
  {
    std::filebuf b;
    b.open(path, in_out);
    b.sputc(bytes[0]);
    stdio_calls calls;
    CHECK_EQ(b.sgetn(got, 9000), 9000);
    CHECK_EQ(calls.fwrites(), 1);
    CHECK_EQ(calls.freads(), 2);  // two buffer fills
    CHECK(memcmp(got, bytes + 1, 9000) == 0);
  }
}

void check_direct_writes(fixture::temp_folder& folder) {
  const char* path = folder.path("direct-writes");
  static char block[buffer_size + 500], expected[buffer_size + 600];
  fill_pattern(block, sizeof block, 11);

  check::set_case("a buffer's length after 3 pending bytes");
  {
    std::filebuf b;
    b.open(path, fixture::mode(out | ios::trunc));
    stdio_calls calls;
    CHECK_EQ(b.sputn("abc", 3), 3);
    CHECK_EQ(b.sputn(block, buffer_size), buffer_size);
    CHECK_EQ(calls.fwrites(), 2);  // the pending bytes, then the block
    CHECK_EQ(b.writing, 1);
    CHECK(fixture::put_area_reset(b));
    CHECK_EQ(b.buffer_size, buffer_size);
    CHECK(b.close() == &b);
    CHECK_EQ(calls.fwrites(), 2);
    memcpy(expected, "abc", 3);
    memcpy(expected + 3, block, buffer_size);
    static char got[sizeof expected];
    CHECK_EQ(fixture::read_file(path, got, sizeof got), 3 + buffer_size);
    CHECK(memcmp(got, expected, 3 + buffer_size) == 0);
  }
  check::set_case("100 bytes stay pending until close");
  {
    std::filebuf b;
    b.open(path, fixture::mode(out | ios::trunc));
    stdio_calls calls;
    CHECK_EQ(b.sputn(block, 100), 100);
    CHECK_EQ(calls.fwrites(), 0);
    CHECK_EQ(fixture::file_size(path), 0);
    CHECK(b.close() == &b);
    CHECK_EQ(calls.fwrites(), 1);
    CHECK_EQ(fixture::file_size(path), 100);
  }
  check::set_case("a block after reading 3 lands at 3");
  {
    fixture::write_file(path, "0123456789");
    std::filebuf b;
    b.open(path, in_out);
    read_three(b);
    stdio_calls calls;
    CHECK_EQ(b.sputn(block, sizeof block), static_cast<int>(sizeof block));
    CHECK_EQ(calls.fwrites(), 1);
    b.close();
    memcpy(expected, "012", 3);
    memcpy(expected + 3, block, sizeof block);
    static char got[sizeof expected];
    CHECK_EQ(fixture::read_file(path, got, sizeof got), 3 + static_cast<long>(sizeof block));
    CHECK(memcmp(got, expected, 3 + sizeof block) == 0);
  }
  check::set_case("a block on a buffer opened for reading only");
  {
    fixture::write_file(path, "0123456789");
    std::filebuf b;
    b.open(path, in);
    stdio_calls calls;
    CHECK_EQ(b.sputn(block, sizeof block), 0);
    CHECK_EQ(b.sputc('x'), -1);
    CHECK_EQ(calls.fwrites(), 0);
    b.close();
    CHECK(fixture::file_is(path, "0123456789"));
  }
}

// A caller's array: reads and writes come in chunks of its size, and the
// buffer never frees it.
void check_caller_buffer(fixture::temp_folder& folder) {
  const char* path = folder.path("caller-buffer");
  static char bytes[250];
  fill_pattern(bytes, sizeof bytes, 5);
  fixture::write_file(path, bytes, sizeof bytes);
  char array[100];

  check::set_case("setbuf(array, 100), then reading");
  check::heap_probe heap;
  {
    std::filebuf b;
    CHECK(b.pubsetbuf(array, sizeof array) == &b);
    CHECK(b.buffer == array);
    CHECK_EQ(b.buffer_size, 100);
    CHECK_EQ(b.buffer_owned, 0);
    CHECK(b.open(path, in) == &b);
    stdio_calls calls;
    CHECK_EQ(b.sgetc(), static_cast<unsigned char>(bytes[0]));
    CHECK(b.get_begin == array && b.get_end == array + 100);
    int n = 0;
    bool same = true;
    for (int c; (c = b.sbumpc()) != -1; ++n) same = same && n < 250 && c == static_cast<unsigned char>(bytes[n]);
    CHECK_EQ(n, 250);
    CHECK(same);
    CHECK_EQ(calls.freads(), 4);  // 100, 100, 50, end of file
    char other[50];
    CHECK(b.pubsetbuf(other, sizeof other) == &b);  // ignored while open
    CHECK(b.buffer == array);
    CHECK(b.close() == &b);
    CHECK(b.buffer == array);
    CHECK_EQ(b.buffer_size, 100);
    CHECK_EQ(b.buffer_owned, 0);
  }
  CHECK_EQ(heap.live(), 0);

  check::set_case("setbuf(array, 100), then writing");
  {
    std::filebuf b;
    b.pubsetbuf(array, sizeof array);
    CHECK(b.open(path, fixture::mode(out | ios::trunc)) == &b);
    stdio_calls calls;
    for (int i = 0; i < 250; ++i) b.sputc(bytes[i]);
    CHECK_EQ(calls.fwrites(), 2);
    CHECK(b.put_begin == array && b.put_end == array + 100);
    CHECK(b.close() == &b);
    CHECK_EQ(calls.fwrites(), 3);
    static char got[300];
    CHECK_EQ(fixture::read_file(path, got, sizeof got), 250);
    CHECK(memcmp(got, bytes, 250) == 0);
  }
  CHECK_EQ(heap.live(), 0);

  check::set_case("setbuf(array, 100), a chunk read to its end, then a write");
  {
    fixture::write_file(path, bytes, sizeof bytes);
    std::filebuf b;
    b.pubsetbuf(array, sizeof array);
    b.open(path, in_out);
    char chunk[100];
    CHECK_EQ(b.sgetn(chunk, 100), 100);
    CHECK(b.get_next == b.get_end);  // nothing left unread: the host's own read-ahead is
    CHECK_EQ(b.sputc('W'), 'W');     // all that lies beyond
    b.close();
    static char got[300];
    CHECK_EQ(fixture::read_file(path, got, sizeof got), 250);
    CHECK_EQ(got[100], 'W');
    CHECK(memcmp(got, bytes, 100) == 0 && memcmp(got + 101, bytes + 101, 149) == 0);
  }
  CHECK_EQ(heap.live(), 0);

  check::set_case("setbuf(0, 0) after a caller's array");
  {
    std::filebuf b;
    b.pubsetbuf(array, sizeof array);
    CHECK(b.pubsetbuf(0, 0) == &b);
    CHECK(b.buffer == 0);
    CHECK_EQ(b.buffer_size, buffer_size);
    CHECK(b.open(path, in) == &b);
    CHECK(b.buffer != 0 && b.buffer != array);
    CHECK_EQ(b.buffer_owned, 1);
    CHECK_EQ(b.sgetc(), static_cast<unsigned char>(bytes[0]));
    CHECK_EQ(b.get_end - b.get_begin, 250);
  }
  CHECK_EQ(heap.live(), 0);
}

void check_putback(fixture::temp_folder& folder) {
  const char* path = folder.path("putback");
  fixture::write_file(path, "0123456789");
  check::set_case("pbackfail");
  std::filebuf b;
  b.open(path, in_out);
  CHECK_EQ(b.pbackfail('x'), -1);  // nothing read yet
  CHECK_EQ(b.sbumpc(), '0');
  CHECK_EQ(b.pbackfail(-1), 0);
  CHECK(b.get_next == b.get_begin);
  CHECK_EQ(b.pbackfail('x'), -1);  // at the start of the get area
  CHECK_EQ(b.sbumpc(), '0');
  CHECK_EQ(b.sputbackc('Z'), 'Z');  // a different character goes into the read-ahead
  CHECK_EQ(b.sbumpc(), 'Z');
  CHECK_EQ(b.sbumpc(), '1');
  CHECK_EQ(b.pubseekoff(0, ios::cur, in_out).offset, 2);
  CHECK(b.close() == &b);
  CHECK(fixture::file_is(path, "0123456789"));

  check::set_case("pbackfail without in");
  b.open(path, fixture::mode(out | ios::app));
  b.get_begin = b.buffer;  // even with a character before get_next
  b.get_next = b.buffer + 1;
  CHECK_EQ(b.pbackfail('x'), -1);
  b.get_next = b.buffer;
  b.close();
}

void check_sync_and_showmanyc(fixture::temp_folder& folder) {
  const char* path = folder.path("sync");
  fixture::write_file(path, "0123456789");
  check::set_case("sync while reading");
  std::filebuf b;
  CHECK_EQ(b.pubsync(), 0);  // closed
  CHECK_EQ(b.showmanyc(), -1);
  b.open(path, in_out);
  CHECK_EQ(b.showmanyc(), 0);
  read_three(b);
  char* next = b.get_next;
  stdio_calls calls;
  CHECK_EQ(b.pubsync(), 0);
  CHECK(b.get_next == next && b.get_end == b.buffer + 10);
  CHECK_EQ(b.reading, 1);
  CHECK_EQ(calls.fwrites(), 0);
  CHECK_EQ(b.showmanyc(), 7);
  CHECK_EQ(b.in_avail(), 7);

  check::set_case("sync while writing");
  CHECK_EQ(b.sputn("ab", 2), 2);
  CHECK_EQ(b.pubsync(), 0);
  CHECK_EQ(calls.fwrites(), 1);
  CHECK_EQ(b.writing, 1);
  CHECK(b.put_next == b.buffer);
  CHECK(fixture::file_is(path, "012ab56789"));  // flushed to the host's file
  CHECK_EQ(b.sputc('c'), 'c');
  b.close();
  CHECK(fixture::file_is(path, "012abc6789"));

  check::set_case("showmanyc without in");
  b.open(path, out);
  CHECK_EQ(b.showmanyc(), -1);
  b.close();
}

// What close and destruction leave: pending output written, the internal
// buffer freed, the host file closed, the object as after construction.
void check_close(fixture::temp_folder& folder) {
  const char* path = folder.path("close");
  check::set_case("close");
  int free_fd = fixture::lowest_free_fd();
  check::heap_probe heap;
  std::filebuf b;
  CHECK(b.close() == 0);  // never opened
  CHECK(b.open(path, fixture::mode(out | ios::trunc)) == &b);
  CHECK(b.open(path, in) == 0);  // already open: the first file stays
  CHECK_EQ(b.open_mode, out | ios::trunc);
  CHECK_EQ(b.sputn("pending", 7), 7);
  CHECK(b.close() == &b);
  CHECK(fixture::file_is(path, "pending"));
  fixture::check_closed(b);
  CHECK(b.file_handle.host_file == 0);
  CHECK_EQ(b.reading, 0);
  CHECK_EQ(b.writing, 0);
  CHECK(put_area_null(b));
  CHECK(b.close() == 0);  // twice
  CHECK_EQ(heap.live(), 0);
  CHECK_EQ(fixture::lowest_free_fd(), free_fd);

  check::set_case("destruction of an open buffer");
  {
    std::filebuf d;
    d.open(path, fixture::mode(out | ios::app));
    d.sputn(" and more", 9);
  }
  CHECK(fixture::file_is(path, "pending and more"));
  CHECK_EQ(heap.live(), 0);
  CHECK_EQ(fixture::lowest_free_fd(), free_fd);

  check::set_case("a buffer allocated on a closed file buffer");
  {
    std::filebuf d;
    d._M_allocate_internal_buffer();
    CHECK(d.buffer != 0);
    CHECK_EQ(d.buffer_owned, 1);
  }
  CHECK_EQ(heap.live(), 0);
}

// The exported settling steps act exactly as the inline ones.
void check_settling_members(fixture::temp_folder& folder) {
  const char* path = folder.path("settling");
  fixture::write_file(path, "0123456789");
  check::set_case("flush_out and drop_in");
  std::filebuf b;
  b.open(path, in_out);
  CHECK(b.flush_out());  // idle: nothing to do
  read_three(b);
  b.drop_in();
  CHECK_EQ(b.reading, 0);
  CHECK(get_area_empty_at_buffer(b));
  CHECK_EQ(b.sputc('x'), 'x');
  CHECK(b.flush_out());
  CHECK_EQ(b.writing, 1);
  CHECK(b.put_next == b.buffer);
  b.close();
  CHECK(fixture::file_is(path, "012x456789"));
}

}

int main() {
  {
    fixture::temp_folder folder;
    check_read_then_write(folder);
    check_write_then_read(folder);
    check_seeks(folder);
    check_direct_reads(folder);
    check_direct_writes(folder);
    check_caller_buffer(folder);
    check_putback(folder);
    check_sync_and_showmanyc(folder);
    check_close(folder);
    check_settling_members(folder);
  }  // the folder goes, and says so if it cannot
  return check::finish();
}
