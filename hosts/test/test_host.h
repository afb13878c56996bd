/* The test host: a stand-in for the runtime host in guest test programs.
 *
 * It supplies the runtime host's four functions to the guest libraries and
 * gives tests a view of what the libraries did: the heap traffic through
 * malloc and free, and a hook that runs when the guest is ended by a fatal
 * report (so a test in a child process can inspect the state at that
 * moment). */
#ifndef TORVEL_TEST_HOST_H
#define TORVEL_TEST_HOST_H

#include <stddef.h>

#ifdef __cplusplus
extern "C" {
#endif

/* The exit status of a guest ended by torvel_guest_fatal. Before exiting the
 * host writes one line to standard error:
 *   torvel_guest_fatal kind="<kind>" detail="<detail>"  */
#define TORVEL_TEST_FATAL_STATUS 70

/* The runtime host's functions. */
__attribute__((noreturn)) void torvel_guest_fatal(const char* kind, const char* detail);
void* torvel_exc_top(void);
void torvel_exc_set_top(void* frame);
void* torvel_tlv_addr(void* descriptor);

/* Runs hook(context) inside torvel_guest_fatal, after the report line and
 * before the exit. */
void torvel_test_on_fatal(void (*hook)(void*), void* context);

/* Heap traffic since the process started, counted in malloc, calloc,
 * realloc and free. */
struct torvel_test_heap {
  unsigned long allocations; /* blocks handed out */
  unsigned long releases;    /* non-null blocks given back */
  size_t last_size;          /* size asked for by the latest allocation */
};
struct torvel_test_heap torvel_test_heap_counts(void);

#ifdef __cplusplus
}
#endif

#endif
