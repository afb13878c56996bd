// Failures of a real host, seen through the file buffer and the file
// streams: a device that takes no bytes (/dev/full), files that cannot be
// opened, closing twice, a host fclose that fails, and the fatal report when
// failbit is in the exception mask. Nothing may crash or leak, and the
// buffer stays usable after a refused write.
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "c_functions.h"
#include "file_fixture.h"

namespace {

using fixture::ios;
using fixture::mode;
using fixture::put_area_reset;

const char* const full_device = "/dev/full";

// A full device takes the bytes into the host's FILE buffer and refuses
// them when the host writes that buffer out.
void check_full_device() {
  int free_fd = fixture::lowest_free_fd();
  check::heap_probe heap;
  static char block[9000];
  memset(block, 'b', sizeof block);

  check::set_case("flushing into a full device");
  {
    std::ofstream s(full_device);
    CHECK(s.is_open());
    CHECK_EQ(s.rdstate(), 0);
    s.write("hello", 5);
    CHECK_EQ(s.rdstate(), 0);  // pending in the buffer
    s.flush();
    CHECK_EQ(s.rdstate(), ios::badbit);
    const std::filebuf& b = s.file_buffer;
    CHECK(put_area_reset(b));
    CHECK_EQ(b.writing, 1);
  }
  CHECK_EQ(heap.live(), 0);
  CHECK_EQ(fixture::lowest_free_fd(), free_fd);

  check::set_case("a full buffer refused by the device");
  {
    std::filebuf b;
    CHECK(b.open(full_device, mode(ios::out)) == &b);
    for (int i = 0; i < 8192; ++i) CHECK_EQ(b.sputc('x'), 'x');
    CHECK(b.put_next == b.put_end);
    CHECK_EQ(b.sputc('y'), -1);  // the 8192 pending bytes are refused and dropped
    CHECK(put_area_reset(b));
    CHECK_EQ(b.writing, 1);
    CHECK_EQ(b.sputc('z'), 'z');  // and the buffer takes the next byte
    CHECK(b.put_next == b.buffer + 1);
    CHECK(b.close() == 0);  // the host takes it, but cannot write it out
    CHECK(!b.is_open());
    CHECK(b.buffer == 0);
  }
  CHECK_EQ(heap.live(), 0);
  CHECK_EQ(fixture::lowest_free_fd(), free_fd);

  check::set_case("a direct write refused by the device");
  {
    std::ofstream s(full_device);
    s.write(block, sizeof block);
    CHECK_EQ(s.rdstate(), ios::badbit);
    s.clear();
    s.put('p');
    CHECK_EQ(s.rdstate(), 0);
    std::filebuf& b = s.file_buffer;
    CHECK(b.put_next == b.buffer + 1);
    // The byte reaches the host's buffer; the host's seek then fails to
    // write it out.
    CHECK_EQ(b.pubseekoff(0, ios::beg, ios::out).offset, -1);
    CHECK_EQ(b.writing, 0);
    CHECK(fixture::put_area_null(b));
  }
  CHECK_EQ(heap.live(), 0);
  CHECK_EQ(fixture::lowest_free_fd(), free_fd);

  check::set_case("an fstream reading after output the device refused");
  {
    std::filebuf b;
    CHECK(b.open(full_device, mode(ios::in | ios::out)) == &b);
    CHECK_EQ(b.sputn("abc", 3), 3);
    CHECK_EQ(b.sgetc(), -1);  // the output cannot be settled: still writing
    CHECK_EQ(b.writing, 1);
    CHECK(put_area_reset(b));
  }
  CHECK_EQ(heap.live(), 0);
  CHECK_EQ(fixture::lowest_free_fd(), free_fd);
}

// The host's fclose fails when it cannot write out its own buffer: the
// file buffer reports it, and still lets go of the FILE and its buffer.
void check_failing_host_close() {
  int free_fd = fixture::lowest_free_fd();
  check::heap_probe heap;

  check::set_case("close: the host's fclose fails");
  {
    std::ofstream s(full_device);
    s.write("abc", 3);
    s.close();
    CHECK_EQ(s.rdstate(), ios::failbit);
    CHECK(!s.is_open());
    CHECK(s.file_buffer.file_handle.host_file == 0);
    CHECK(s.file_buffer.buffer == 0);
  }
  CHECK_EQ(heap.live(), 0);
  CHECK_EQ(fixture::lowest_free_fd(), free_fd);

  check::set_case("close: the host's fflush of a borrowed file fails");
  {
    void* host = fixture::fopen(full_device, "w");
    std::__basic_file<char> f;
    CHECK(f.sys_open(static_cast<__sFILE*>(host), ios::out) == &f);
    CHECK_EQ(f.xsputn("abc", 3), 3);
    CHECK(f.close() == 0);
    CHECK(!f.is_open());
    fixture::fclose(host);  // still the test's to close
  }
  CHECK_EQ(heap.live(), 0);
  CHECK_EQ(fixture::lowest_free_fd(), free_fd);

  check::set_case("destruction: a failing close is silent");
  {
    std::ofstream s(full_device);
    s.exceptions(ios::failbit);
    s.write("abc", 3);
  }
  CHECK_EQ(heap.live(), 0);
  CHECK_EQ(fixture::lowest_free_fd(), free_fd);
}

void check_unopenable(fixture::temp_folder& folder) {
  check::heap_probe heap;
  const char* existing = folder.path("existing");
  fixture::write_file(existing, "0123456789");

  check::set_case("a missing file");
  {
    std::ifstream s(folder.path("missing"));
    CHECK(!s.is_open());
    CHECK(s.fail());
    CHECK_EQ(s.rdstate(), ios::failbit);
    CHECK_EQ(s.get(), -1);
    s.open(existing);  // the next open clears the state
    CHECK(s.is_open());
    CHECK_EQ(s.rdstate(), 0);
    CHECK_EQ(s.get(), '0');
    s.open(existing);  // already open: failbit, and the first file goes on
    CHECK_EQ(s.rdstate(), ios::failbit);
    CHECK(s.is_open());
    s.clear();
    CHECK_EQ(s.get(), '1');
    char rest[16];
    s.read(rest, sizeof rest);  // to the end: eofbit and failbit
    CHECK_EQ(s.rdstate(), ios::eofbit | ios::failbit);
    s.close();
    CHECK_EQ(s.rdstate(), ios::eofbit | ios::failbit);  // a good close leaves the state
    s.open(existing);
    CHECK_EQ(s.rdstate(), 0);
  }
  CHECK_EQ(heap.live(), 0);

  check::set_case("a folder");
  {
    std::ofstream w(folder.path(""));
    CHECK(!w.is_open());
    CHECK_EQ(w.rdstate(), ios::failbit);
    // The host opens a folder for reading; reading it yields nothing.
    std::ifstream r(folder.path(""));
    if (r.is_open()) {
      CHECK_EQ(r.get(), -1);
      CHECK_EQ(r.rdstate(), ios::eofbit | ios::failbit);
    } else {
      CHECK_EQ(r.rdstate(), ios::failbit);
    }
  }
  CHECK_EQ(heap.live(), 0);

  check::set_case("closing twice");
  {
    std::ofstream s(folder.path("twice"));
    s.put('x');
    s.close();
    CHECK_EQ(s.rdstate(), 0);
    s.close();
    CHECK_EQ(s.rdstate(), ios::failbit);
    std::fstream never;
    never.close();
    CHECK_EQ(never.rdstate(), ios::failbit);
  }
  CHECK(fixture::file_is(folder.path("twice"), "x"));
  CHECK_EQ(heap.live(), 0);
}

// A file the process may not open. Root may open anything, so as root the
// checks run in a child process that has given up root first. (The child's
// exit status also counts the checks that failed before the fork.)
void check_permission(fixture::temp_folder& folder) {
  check::set_case("a file without permission");
  const char* locked = folder.path("locked");
  fixture::write_file(locked, "secret");
  chmod(locked, 0);
  chmod(folder.path(""), 0755);
  pid_t child = fork();
  if (child == 0) {
    if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0)) _exit(77);
    check::heap_probe heap;
    {
      std::ifstream r(locked);
      CHECK(!r.is_open());
      CHECK_EQ(r.rdstate(), ios::failbit);
      std::ofstream w(locked, ios::app);
      CHECK(!w.is_open());
      CHECK_EQ(w.rdstate(), ios::failbit);
    }
    CHECK_EQ(heap.live(), 0);
    _exit(check::finish());
  }
  int status = 0;
  waitpid(child, &status, 0);
  if (WIFEXITED(status) && WEXITSTATUS(status) == 77) {
    printf("skipped: could not give up root for the permission checks\n");
    return;
  }
  CHECK(WIFEXITED(status));
  CHECK_EQ(WEXITSTATUS(status), 0);
  chmod(locked, 0600);
  CHECK(fixture::file_is(locked, "secret"));
}

// failbit in the exception mask: the failure ends the guest through the
// host with the texts of the legacy exception.
void open_missing_with_failbit(void* path) {
  std::ifstream s;
  s.exceptions(ios::failbit);
  s.open(static_cast<const char*>(path));
}

void construct_missing_with_failbit_in_mask_later(void* path) {
  std::fstream s(static_cast<const char*>(path), mode(ios::in | ios::out));
  s.exceptions(ios::failbit);  // the failed open's state meets the new mask
}

void close_twice_with_failbit(void* path) {
  std::ofstream s(static_cast<const char*>(path));
  s.exceptions(ios::failbit);
  s.close();
  s.close();
}

void close_full_device_with_failbit(void*) {
  std::ofstream s(full_device);
  s.exceptions(ios::failbit);
  s.write("abc", 3);
  s.close();
}

void check_fatal_route(fixture::temp_folder& folder) {
  const char* missing = folder.path("missing");
  const char* target = folder.path("fatal");
  check::set_case("failbit in the mask: open");
  EXPECT_FATAL(open_missing_with_failbit, const_cast<char*>(missing), "std::ios_base::failure", "basic_ios::clear");
  check::set_case("failbit in the mask after a failed constructor open");
  EXPECT_FATAL(construct_missing_with_failbit_in_mask_later, const_cast<char*>(missing), "std::ios_base::failure",
               "basic_ios::clear");
  check::set_case("failbit in the mask: closing twice");
  EXPECT_FATAL(close_twice_with_failbit, const_cast<char*>(target), "std::ios_base::failure", "basic_ios::clear");
  check::set_case("failbit in the mask: the host's fclose fails");
  EXPECT_FATAL(close_full_device_with_failbit, 0, "std::ios_base::failure", "basic_ios::clear");

  check::set_case("badbit alone in the mask: a failed open is not fatal");
  std::ifstream s;
  s.exceptions(ios::badbit);
  s.open(missing);
  CHECK_EQ(s.rdstate(), ios::failbit);
}

}

int main() {
  {
    fixture::temp_folder folder;
    check_full_device();
    check_failing_host_close();
    check_unopenable(folder);
    check_permission(folder);
    check_fatal_route(folder);
  }  // the folder goes, and says so if it cannot
  return check::finish();
}
