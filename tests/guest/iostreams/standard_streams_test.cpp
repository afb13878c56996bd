// std::stdio_buf under the standard streams, and std::ios_base::Init's
// reference count, exit flush and rebuilding.
#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include "c_stdio.h"
#include "check.h"
#include "script_buffer.h"
#include "standard_streams.h"

namespace {

using std::ios_base;
typedef std::basic_streambuf<char> buffer;

// Standard input becomes the read end of a pipe holding text.
void feed_standard_input(const char* text) {
  int ends[2];
  if (pipe(ends) != 0) return;
  (void)!write(ends[1], text, strlen(text));
  close(ends[1]);
  dup2(ends[0], 0);
  close(ends[0]);
}

void check_standard_input() {
  feed_standard_input("abcdefgh");
  buffer* in = std::cin.rdbuf();

  check::set_case("peeking twice consumes nothing");
  CHECK_EQ(in->sgetc(), 'a');
  CHECK_EQ(in->sgetc(), 'a');

  check::set_case("a peek cannot be ungot");
  CHECK_EQ(in->sungetc(), -1);

  check::set_case("one read, one unget");
  CHECK_EQ(in->sbumpc(), 'a');
  CHECK_EQ(in->sungetc(), 'a');
  CHECK_EQ(in->sungetc(), -1);
  CHECK_EQ(in->sbumpc(), 'a');

  check::set_case("xsgetn");
  char block[4];
  CHECK_EQ(in->sgetn(block, 0), 0);
  CHECK_EQ(in->sungetc(), 'a');
  CHECK_EQ(in->sgetn(block, 3), 3);
  CHECK_EQ(memcmp(block, "abc", 3), 0);
  CHECK_EQ(in->sungetc(), 'c');
  CHECK_EQ(in->sbumpc(), 'c');

  check::set_case("putting back a named character");
  CHECK_EQ(in->sputbackc('Z'), 'Z');
  CHECK_EQ(in->sbumpc(), 'Z');

  check::set_case("through std::cin");
  char line[8];
  std::cin.getline(line, 8);
  CHECK_TEXT(line, "defgh");
  CHECK_EQ(std::cin.rdstate(), ios_base::eofbit);
  CHECK_EQ(std::cin.get(), -1);
  std::cin.clear();

  check::set_case("no area is ever made");
  CHECK(in->get_begin == 0 && in->get_next == 0 && in->put_next == 0);
}

void check_no_seeking() {
  check::set_case("standard buffers cannot seek");
  std::basic_ios<char>* streams[] = {&std::cin, &std::cout, &std::cerr, &std::clog};
  for (std::basic_ios<char>* s : streams) {
    CHECK_EQ(s->rdbuf()->pubseekoff(0, ios_base::cur, ios_base::out).offset, -1);
    CHECK_EQ(s->rdbuf()->pubseekpos(std::streampos(0), ios_base::in).offset, -1);
  }
}

// Points one of the process's standard descriptors at another file while
// a step runs, then restores it.
void with_descriptor(int which, int replacement, void (*step)()) {
  int saved = dup(which);
  dup2(replacement, which);
  step();
  dup2(saved, which);
  close(saved);
}

void write_mixed_output() {
  buffer* out = std::cout.rdbuf();
  CHECK_EQ(out->sputn("a", 1), 1);
  fputs("b", torvel_host_stdout);
  std::cout << "cd" << 'e';
  // 0xff is a character like any other, not the end-of-file value.
  CHECK_EQ(out->sputn("\xff", 1), 1);
  std::cout.put('f');
  fputs("7", torvel_host_stdout);
  CHECK_EQ(out->sputn("gh", 2), 2);
  fflush(torvel_host_stdout);
}

void write_to_full_device() {
  // Standard error is unbuffered, so each write reaches the device at once.
  buffer* err = std::cerr.rdbuf();
  CHECK_EQ(err->sputn("x", 1), 0);
  CHECK_EQ(err->sputn("xyz", 3), 0);
}

// Characters and blocks written through std::cout land in the host's
// standard output in call order with the program's own stdio output, and
// each write reports how much the host took.
void check_standard_output() {
  check::set_case("standard output in call order");
  char path[] = "/tmp/torvel-standard-output-XXXXXX";
  int file = mkstemp(path);
  CHECK(file >= 0);
  if (file < 0) return;
  fflush(torvel_host_stdout);
  with_descriptor(1, file, write_mixed_output);
  char written[16] = {};
  CHECK_EQ(pread(file, written, sizeof written - 1, 0), 10);
  CHECK_TEXT(written, "abcde\xff" "f7gh");
  close(file);
  unlink(path);

  check::set_case("a host stream that takes nothing");
  int full = open("/dev/full", O_WRONLY);
  CHECK(full >= 0);
  if (full < 0) return;
  with_descriptor(2, full, write_to_full_device);
  close(full);
}

// Runs the destructor of an Init object: the library's own is the last.
void end_init() {
  alignas(4) unsigned char storage[1];
  reinterpret_cast<ios_base::Init*>(storage)->~Init();
}

void check_init_counting() {
  check::set_case("a further Init neither builds nor flushes");
  script_buffer out_buffer;
  std::cout.rdbuf(&out_buffer);
  {
    ios_base::Init more;
    CHECK_EQ(ios_base::Init::_S_refcount, 2);
    CHECK(std::cout.rdbuf() == &out_buffer);
  }
  CHECK_EQ(ios_base::Init::_S_refcount, 1);
  CHECK_EQ(out_buffer.sync_calls, 0);

  check::set_case("the last Init flushes cout, cerr and clog, not cin");
  script_buffer in_buffer, err_buffer, log_buffer;
  std::cin.rdbuf(&in_buffer);
  std::cerr.rdbuf(&err_buffer);
  std::clog.rdbuf(&log_buffer);
  err_buffer.sync_result = -1;
  end_init();
  CHECK_EQ(ios_base::Init::_S_refcount, 0);
  CHECK_EQ(out_buffer.sync_calls, 1);
  CHECK_EQ(err_buffer.sync_calls, 1);
  CHECK_EQ(log_buffer.sync_calls, 1);
  CHECK_EQ(in_buffer.sync_calls, 0);
  CHECK_EQ(std::cerr.rdstate(), ios_base::badbit);
  CHECK_EQ(std::clog.rdstate(), 0);

  check::set_case("a new first Init builds the streams afresh");
  std::cout.width(9);
  { ios_base::Init rebuilt; }
  ios_base::Init* kept = new ios_base::Init;
  (void)kept;
  CHECK_EQ(ios_base::Init::_S_refcount, 1);
  CHECK(std::cout.rdbuf() != &out_buffer);
  CHECK_EQ(std::cout.width(), 0);
  CHECK_EQ(std::cerr.rdstate(), 0);
  CHECK_EQ(std::cerr.format_flags, 0x3002);
  CHECK(std::cin.tie() == &std::cout);
}

void fail_at_exit(void*) {
  static script_buffer failing;
  failing.sync_result = -1;
  std::clog.rdbuf(&failing);
  std::clog.exceptions(ios_base::badbit);
  end_init();
}

void check_fatal_flush() {
  check::set_case("a failing exit flush with badbit in the mask");
  EXPECT_FATAL(fail_at_exit, 0, "std::ios_base::failure", "basic_ios::clear");
}

}

int main() {
  check_standard_input();
  check_no_seeking();
  check_standard_output();
  check_fatal_flush();
  check_init_counting();
  return check::finish();
}
