// A small self-checking harness for guest test programs. Guest programs
// cannot load the toolchain's C++ library, so this is plain C underneath:
// each failed check prints its place and values, and check_finish() turns
// the outcome into the program's exit status.
#ifndef TORVEL_TEST_CHECK_H
#define TORVEL_TEST_CHECK_H

#include <stddef.h>

namespace check {

void fail(const char* file, int line, const char* what);
void fail_values(const char* file, int line, const char* what, unsigned long long got,
                 unsigned long long want);
void fail_texts(const char* file, int line, const char* what, const char* got, const char* want);

inline void equal(const char* file, int line, const char* what, unsigned long long got,
                  unsigned long long want) {
  if (got != want) fail_values(file, line, what, got, want);
}

void equal_texts(const char* file, int line, const char* what, const char* got, const char* want);

// Names the table row being checked, so a failure says which case it was.
void set_case(const char* name);

// Prints a summary; returns the exit status of the program.
int finish();

// Runs fn(arg) in a child process that is expected to end through the test
// host's fatal report with the given texts. The child's standard error must
// be exactly that report plus after_report, which a fatal hook installed by
// fn may write (to describe the state at the moment of the report).
void expect_fatal(const char* file, int line, void (*fn)(void*), void* arg, const char* kind,
                  const char* detail, const char* after_report = "");

// Heap traffic from the moment of construction.
class heap_probe {
public:
  heap_probe();
  unsigned long allocations() const;  // blocks handed out since
  long live() const;                  // blocks handed out minus blocks given back since
  size_t last_size() const;           // size of the latest allocation overall

private:
  unsigned long allocations_at_start_;
  unsigned long releases_at_start_;
};

}

#define CHECK(e) ((e) ? (void)0 : check::fail(__FILE__, __LINE__, #e))
#define CHECK_EQ(got, want) \
  check::equal(__FILE__, __LINE__, #got " == " #want, (unsigned long long)(got), (unsigned long long)(want))
#define CHECK_TEXT(got, want) check::equal_texts(__FILE__, __LINE__, #got, (got), (want))
#define EXPECT_FATAL(fn, arg, kind, detail, ...) \
  check::expect_fatal(__FILE__, __LINE__, (fn), (arg), (kind), (detail), ##__VA_ARGS__)

#endif
