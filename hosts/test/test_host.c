/* The test host's functions. The heap counters work by interposition: this
 * library is linked into test programs ahead of the C library, so its
 * malloc and free are the ones every library of the process binds to; they
 * count and pass the request on to the C library's own allocator. */
#define _GNU_SOURCE
#include "test_host.h"

#include <dlfcn.h>
#include <stdint.h>
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
 * third word is the variable's offset in this area (the words after the
 * first belong to the host). */
static __thread unsigned char thread_local_area[4096];

static unsigned failures_pending;
static size_t failing_size; /* 0: none */

/* True when an allocation of this size is to fail
 * (torvel_test_fail_allocations, torvel_test_fail_allocation_of_size). */
static int take_failure(size_t size) {
  if (size != 0 && __atomic_compare_exchange_n(&failing_size, &size, 0, 0, __ATOMIC_RELAXED, __ATOMIC_RELAXED))
    return 1;
  unsigned pending = __atomic_load_n(&failures_pending, __ATOMIC_RELAXED);
  while (pending != 0) {
    if (__atomic_compare_exchange_n(&failures_pending, &pending, pending - 1, 0, __ATOMIC_RELAXED,
                                    __ATOMIC_RELAXED))
      return 1;
  }
  return 0;
}

void torvel_test_fail_allocations(unsigned count) { __atomic_store_n(&failures_pending, count, __ATOMIC_RELAXED); }

void torvel_test_fail_allocation_of_size(size_t size) { __atomic_store_n(&failing_size, size, __ATOMIC_RELAXED); }

void* malloc(size_t size) {
  if (take_failure(size)) return NULL;
  void* block = __libc_malloc(size);
  if (block != NULL) {
    __atomic_add_fetch(&heap.allocations, 1, __ATOMIC_RELAXED);
    heap.last_size = size;
  }
  return block;
}

void* calloc(size_t count, size_t size) {
  if (take_failure(count * size)) return NULL;
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

static unsigned long tlv_calls;
static void* tlv_last_descriptor;
static unsigned tlv_entry_alignment;

void* torvel_tlv_addr(void* descriptor) {
  __atomic_add_fetch(&tlv_calls, 1, __ATOMIC_RELAXED);
  tlv_last_descriptor = descriptor;
  /* The frame address is the stack pointer at entry less the saved frame
   * pointer's word. */
  tlv_entry_alignment = (unsigned)(((uintptr_t)__builtin_frame_address(0) + 4) % 16);
  /* A C function may use every call-clobbered register; this one does, so
   * that a caller's reliance on the bootstrap's saving shows. */
  __asm__ volatile(
      "pxor %%xmm0, %%xmm0\n\tpxor %%xmm1, %%xmm1\n\tpxor %%xmm2, %%xmm2\n\tpxor %%xmm3, %%xmm3\n\t"
      "pxor %%xmm4, %%xmm4\n\tpxor %%xmm5, %%xmm5\n\tpxor %%xmm6, %%xmm6\n\tpxor %%xmm7, %%xmm7\n\t"
      "movl $0xdead0001, %%ecx\n\tmovl $0xdead0002, %%edx"
      ::: "ecx", "edx", "xmm0", "xmm1", "xmm2", "xmm3", "xmm4", "xmm5", "xmm6", "xmm7");
  size_t offset = ((size_t*)descriptor)[2];
  return thread_local_area + offset % sizeof thread_local_area;
}

unsigned long torvel_test_tlv_calls(void) { return __atomic_load_n(&tlv_calls, __ATOMIC_RELAXED); }

void* torvel_test_tlv_last_descriptor(void) { return tlv_last_descriptor; }

unsigned torvel_test_tlv_entry_alignment(void) { return tlv_entry_alignment; }

/* ---- Host file calls ----
 * Interposed like malloc: every library of the process binds these names
 * here; each call is recorded and passed on to the C library's own. */

static struct torvel_test_stdio stdio_counts;
static char last_open_mode[16];

static void* next_function(const char* name) {
  void* f = dlsym(RTLD_NEXT, name);
  if (f == NULL) {
    fprintf(stderr, "test host: no %s in the C library\n", name);
    _exit(TORVEL_TEST_FATAL_STATUS);
  }
  return f;
}

static void remember_open_mode(const char* mode) {
  size_t n = strlen(mode);
  if (n >= sizeof last_open_mode) n = sizeof last_open_mode - 1;
  memcpy(last_open_mode, mode, n);
  last_open_mode[n] = 0;
}

FILE* fopen(const char* path, const char* mode) {
  static FILE* (*next)(const char*, const char*);
  if (next == NULL) next = (FILE * (*)(const char*, const char*)) next_function("fopen");
  remember_open_mode(mode);
  return next(path, mode);
}

FILE* fdopen(int fd, const char* mode) {
  static FILE* (*next)(int, const char*);
  if (next == NULL) next = (FILE * (*)(int, const char*)) next_function("fdopen");
  remember_open_mode(mode);
  return next(fd, mode);
}

size_t fread(void* dst, size_t size, size_t count, FILE* file) {
  static size_t (*next)(void*, size_t, size_t, FILE*);
  if (next == NULL) next = (size_t(*)(void*, size_t, size_t, FILE*))next_function("fread");
  __atomic_add_fetch(&stdio_counts.freads, 1, __ATOMIC_RELAXED);
  return next(dst, size, count, file);
}

size_t fwrite(const void* src, size_t size, size_t count, FILE* file) {
  static size_t (*next)(const void*, size_t, size_t, FILE*);
  if (next == NULL) next = (size_t(*)(const void*, size_t, size_t, FILE*))next_function("fwrite");
  __atomic_add_fetch(&stdio_counts.fwrites, 1, __ATOMIC_RELAXED);
  return next(src, size, count, file);
}

struct torvel_test_stdio torvel_test_stdio_counts(void) {
  struct torvel_test_stdio now;
  now.freads = __atomic_load_n(&stdio_counts.freads, __ATOMIC_RELAXED);
  now.fwrites = __atomic_load_n(&stdio_counts.fwrites, __ATOMIC_RELAXED);
  return now;
}

const char* torvel_test_last_open_mode(void) { return last_open_mode; }
