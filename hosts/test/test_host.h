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

/* Makes the next count calls of malloc and calloc fail (return null). */
void torvel_test_fail_allocations(unsigned count);

/* ---- Host file calls, for the tests of the file buffer ----
 * The test host passes the C library's fopen, fdopen, fread and fwrite on
 * and keeps a record of them. */

/* Calls of fread and fwrite since the process started. */
struct torvel_test_stdio {
  unsigned long freads;
  unsigned long fwrites;
};
struct torvel_test_stdio torvel_test_stdio_counts(void);

/* The mode text given to the latest fopen or fdopen ("" before the first). */
const char* torvel_test_last_open_mode(void);

/* Makes the next malloc or calloc that asks for exactly size bytes fail. */
void torvel_test_fail_allocation_of_size(size_t size);

/* Calls of torvel_tlv_addr so far, and the descriptor of the latest. The
 * test host's torvel_tlv_addr clobbers ECX, EDX and XMM0-XMM7 on purpose. */
unsigned long torvel_test_tlv_calls(void);
void* torvel_test_tlv_last_descriptor(void);
/* The stack pointer modulo 16 at the latest entry of torvel_tlv_addr: 12
 * when its caller called it with the 16-byte alignment the i386 ABIs ask. */
unsigned torvel_test_tlv_entry_alignment(void);

#ifdef __cplusplus
}
#endif

#endif
