/* The test host's functions. The heap counters work by interposition: this
 * library is linked into test programs ahead of the C library, so its
 * malloc and free are the ones every library of the process binds to; they
 * count and pass the request on to the C library's own allocator. */
#include "test_host.h"

#include <stdio.h>
#include <string.h>
#include <unistd.h>

extern void* __libc_malloc(size_t size);
extern void* __libc_calloc(size_t count, size_t size);
extern void* __libc_realloc(void* block, size_t size);
extern void __libc_free(void* block);

static struct torvel_test_heap heap;
static void (*fatal_hook)(void*);
static void* fatal_hook_context;

/* Each thread has its own Objective-C exception frame chain. */
static __thread void* exception_top;

/* Per-thread storage of the guest's thread-local variables: the descriptor's
 * third word is the variable's offset in this area. */
static __thread unsigned char thread_local_area[4096];

void* malloc(size_t size) {
  void* block = __libc_malloc(size);
  if (block != NULL) {
    __atomic_add_fetch(&heap.allocations, 1, __ATOMIC_RELAXED);
    heap.last_size = size;
  }
  return block;
}

void* calloc(size_t count, size_t size) {
  void* block = __libc_calloc(count, size);
  if (block != NULL) {
    __atomic_add_fetch(&heap.allocations, 1, __ATOMIC_RELAXED);
    heap.last_size = count * size;
  }
  return block;
}

void* realloc(void* block, size_t size) {
  void* moved = __libc_realloc(block, size);
  if (block == NULL && moved != NULL) {
    __atomic_add_fetch(&heap.allocations, 1, __ATOMIC_RELAXED);
    heap.last_size = size;
  } else if (block != NULL && size == 0) {
    __atomic_add_fetch(&heap.releases, 1, __ATOMIC_RELAXED);
  }
  return moved;
}

void free(void* block) {
  if (block != NULL) __atomic_add_fetch(&heap.releases, 1, __ATOMIC_RELAXED);
  __libc_free(block);
}

struct torvel_test_heap torvel_test_heap_counts(void) {
  struct torvel_test_heap now;
  now.allocations = __atomic_load_n(&heap.allocations, __ATOMIC_RELAXED);
  now.releases = __atomic_load_n(&heap.releases, __ATOMIC_RELAXED);
  now.last_size = heap.last_size;
  return now;
}

void torvel_test_on_fatal(void (*hook)(void*), void* context) {
  fatal_hook = hook;
  fatal_hook_context = context;
}

void torvel_guest_fatal(const char* kind, const char* detail) {
  fflush(stdout);
  fprintf(stderr, "torvel_guest_fatal kind=\"%s\" detail=\"%s\"\n", kind ? kind : "(null)",
          detail ? detail : "(null)");
  if (fatal_hook != NULL) fatal_hook(fatal_hook_context);
  fflush(stdout);
  fflush(stderr);
  _exit(TORVEL_TEST_FATAL_STATUS);
}

void* torvel_exc_top(void) { return exception_top; }

void torvel_exc_set_top(void* frame) { exception_top = frame; }

void* torvel_tlv_addr(void* descriptor) {
  size_t offset = ((size_t*)descriptor)[2];
  return thread_local_area + offset % sizeof thread_local_area;
}
