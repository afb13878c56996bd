#include "check.h"

#include <stdio.h>
#include <string.h>
#include <sys/wait.h>
#include <unistd.h>

#include "test_host.h"

namespace check {

namespace {

int checks_failed = 0;
const char* current_case = "";

void where(const char* file, int line) {
  fprintf(stderr, "%s:%d: %s%sFAILED ", file, line, current_case, *current_case ? ": " : "");
}

}

void set_case(const char* name) { current_case = name; }

void fail(const char* file, int line, const char* what) {
  ++checks_failed;
  where(file, line);
  fprintf(stderr, "%s\n", what);
}

void fail_values(const char* file, int line, const char* what, unsigned long long got,
                 unsigned long long want) {
  ++checks_failed;
  where(file, line);
  fprintf(stderr, "%s: got %llu (%#llx), want %llu (%#llx)\n", what, got, got, want, want);
}

void fail_texts(const char* file, int line, const char* what, const char* got, const char* want) {
  ++checks_failed;
  where(file, line);
  fprintf(stderr, "%s:\n  got  \"%s\"\n  want \"%s\"\n", what, got, want);
}

void equal_texts(const char* file, int line, const char* what, const char* got, const char* want) {
  if (got == NULL || strcmp(got, want) != 0) fail_texts(file, line, what, got ? got : "(null)", want);
}

int finish() {
  set_case("");
  if (checks_failed != 0) {
    fprintf(stderr, "%d check(s) failed\n", checks_failed);
    return 1;
  }
  return 0;
}

void expect_fatal(const char* file, int line, void (*fn)(void*), void* arg, const char* kind,
                  const char* detail, const char* after_report) {
  fflush(stdout);
  fflush(stderr);
  int pipe_ends[2];
  if (pipe(pipe_ends) != 0) {
    fail(file, line, "pipe");
    return;
  }
  pid_t child = fork();
  if (child == 0) {
    close(pipe_ends[0]);
    dup2(pipe_ends[1], 2);
    fn(arg);
    fprintf(stderr, "returned without a fatal report\n");
    fflush(stderr);
    _exit(0);
  }
  close(pipe_ends[1]);
  char text[2048];
  size_t used = 0;
  for (;;) {
    ssize_t got = read(pipe_ends[0], text + used, sizeof text - 1 - used);
    if (got <= 0) break;
    used += (size_t)got;
  }
  text[used] = '\0';
  close(pipe_ends[0]);
  int status = 0;
  waitpid(child, &status, 0);

  char want[2048];
  snprintf(want, sizeof want, "torvel_guest_fatal kind=\"%s\" detail=\"%s\"\n%s", kind, detail, after_report);
  equal_texts(file, line, "fatal report", text, want);
  if (!WIFEXITED(status) || WEXITSTATUS(status) != TORVEL_TEST_FATAL_STATUS)
    fail_values(file, line, "exit status of the fatal child", (unsigned long long)status,
                (unsigned long long)(TORVEL_TEST_FATAL_STATUS << 8));
}

heap_probe::heap_probe() {
  torvel_test_heap now = torvel_test_heap_counts();
  allocations_at_start_ = now.allocations;
  releases_at_start_ = now.releases;
}

unsigned long heap_probe::allocations() const {
  return torvel_test_heap_counts().allocations - allocations_at_start_;
}

long heap_probe::live() const {
  torvel_test_heap now = torvel_test_heap_counts();
  return (long)(now.allocations - allocations_at_start_) - (long)(now.releases - releases_at_start_);
}

size_t heap_probe::last_size() const { return torvel_test_heap_counts().last_size; }

}
