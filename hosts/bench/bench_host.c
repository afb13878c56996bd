/* The runtime host's functions for benchmark programs. Unlike the test host,
 * it leaves malloc, free and the stdio functions alone: the guest libraries
 * bind them straight to the C library, as they bind to the host's own C
 * library under the runtime host, so a benchmark times the libraries and
 * not the test host's counting. */
#include <stddef.h>
#include <stdio.h>
#include <unistd.h>

/* The exit status of a guest ended by a fatal report, as with the test host. */
enum { fatal_status = 70 };

__attribute__((noreturn)) void torvel_guest_fatal(const char* kind, const char* detail) {
  fflush(stdout);
  fprintf(stderr, "torvel_guest_fatal kind=\"%s\" detail=\"%s\"\n", kind ? kind : "(null)",
          detail ? detail : "(null)");
  _exit(fatal_status);
}

static __thread void* exception_top;

void* torvel_exc_top(void) { return exception_top; }

void torvel_exc_set_top(void* frame) { exception_top = frame; }

/* Each thread's guest thread-local variables, at the descriptor's offset. */
static __thread unsigned char thread_local_area[4096];

void* torvel_tlv_addr(void* descriptor) {
  size_t offset = ((size_t*)descriptor)[2];
  return thread_local_area + offset % sizeof thread_local_area;
}

/* No benchmark works with Objective-C objects; a message is a mistake of
 * the benchmark and ends it. */
void* objc_msgSend(void* receiver, const char* selector, ...) {
  (void)receiver;
  torvel_guest_fatal("bench host", selector ? selector : "objc_msgSend");
}
