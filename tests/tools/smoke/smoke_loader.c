/* A minimal stand-in for dyld, for testing torvel-ld's output at run time:
   a 32-bit Linux program (run under qemu-i386) that maps one i386 dylib,
   applies its rebases, binds its non-lazy imports to a small table of its own
   functions and data, leaves the lazy pointers to a real dyld_stub_binder
   that resolves them on first call, runs the module initialisers, finds
   "_smoke_main" in the export trie, calls it and prints the result.
   It reads the dylib with the test loader's walkers (hosts/loader/
   macho_image.h), which end the process with a message on anything
   malformed.
   Usage: smoke_loader DYLIB */
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/mman.h>

#include "macho_image.h"

static struct macho_image dylib;
static uint8_t *image; /* where vm address 0 is mapped */
static int lazy_binds;

static void die(const char *what) {
  fprintf(stderr, "smoke_loader: %s\n", what);
  exit(2);
}

/* ---- what the "host" supplies ---- */
static int host_add(int a, int b) { return a + b; }
static void host_log(const char *text) { printf("log: %s\n", text); }
static int host_values[4] = {100, 200, 300, 400};
void smoke_stub_binder(void);

static void *host_lookup(const char *name) {
  if (!strcmp(name, "_host_add")) return (void *)host_add;
  if (!strcmp(name, "_host_log")) return (void *)host_log;
  if (!strcmp(name, "_host_values")) return host_values;
  if (!strcmp(name, "dyld_stub_binder")) return (void *)smoke_stub_binder;
  fprintf(stderr, "smoke_loader: unknown import %s\n", name);
  exit(2);
}

/* Rebased words in code (a stub's operand) need not be 4-byte aligned. */
static void rebase_one(void *context, int type, uint32_t vmaddr) {
  (void)context;
  (void)type; /* pointers and absolute text words both move by the slide */
  uint32_t word;
  memcpy(&word, image + vmaddr, sizeof word);
  word += (uint32_t)(uintptr_t)image;
  memcpy(image + vmaddr, &word, sizeof word);
}

static void bind_one(void *context, const struct macho_bind *bind) {
  void **target = context; /* where the lazy binder wants the address, or null */
  void *address = host_lookup(bind->name);
  uint32_t value = (uint32_t)(uintptr_t)address + (uint32_t)bind->addend;
  memcpy(image + bind->vmaddr, &value, sizeof value);
  if (target) *target = address;
}

/* dyld_stub_binder's contract: [esp] = image-cache slot address,
   [esp+4] = lazy-bind offset, [esp+8] = the caller's return address. */
__asm__(
    ".text\n"
    ".globl smoke_stub_binder\n"
    "smoke_stub_binder:\n"
    "  pushl %eax\n"
    "  pushl %ecx\n"
    "  pushl %edx\n"
    "  pushl 16(%esp)\n" /* lazy-bind offset */
    "  pushl 16(%esp)\n" /* image-cache slot */
    "  call resolve_lazy\n"
    "  addl $8, %esp\n"
    "  movl %eax, 16(%esp)\n" /* the target replaces the offset */
    "  popl %edx\n"
    "  popl %ecx\n"
    "  popl %eax\n"
    "  addl $4, %esp\n"
    "  ret\n");

__attribute__((used)) void *resolve_lazy(void *cache, uint32_t offset) {
  (void)cache;
  void *target = NULL;
  macho_walk_lazy_bind_at(&dylib, offset, bind_one, &target);
  if (!target) die("a lazy-bind entry bound nothing");
  ++lazy_binds;
  return target;
}

struct export_search {
  const char *name;
  long offset;
};

static void match_export(void *context, const char *name, uint32_t flags, uint32_t offset) {
  struct export_search *search = context;
  (void)flags;
  if (!strcmp(name, search->name)) search->offset = (long)offset;
}

/* The offset of `name` from the mach_header, or -1. */
static long find_export(const char *name) {
  struct export_search search = {name, -1};
  macho_walk_exports(&dylib, match_export, &search);
  return search.offset;
}

static void run_initialisers(void) {
  for (unsigned i = 0; i < dylib.section_count; ++i) {
    const struct macho_section *s = &dylib.sections[i];
    if ((s->flags & MACHO_SECTION_TYPE) != MACHO_S_MOD_INIT_FUNC_POINTERS) continue;
    for (uint32_t k = 0; k < s->size / 4; ++k) {
      uint32_t function;
      memcpy(&function, image + s->addr + 4 * k, sizeof function);
      ((void (*)(void))(uintptr_t)function)();
    }
  }
}

int main(int argc, char **argv) {
  if (argc != 2) die("usage: smoke_loader DYLIB");
  FILE *f = fopen(argv[1], "rb");
  if (!f) die("cannot open the dylib");
  fseek(f, 0, SEEK_END);
  long file_size = ftell(f);
  fseek(f, 0, SEEK_SET);
  uint8_t *file = malloc(file_size);
  if (fread(file, 1, file_size, f) != (size_t)file_size) die("short read");
  fclose(f);
  macho_read(&dylib, file, (size_t)file_size, argv[1]);

  image = mmap(NULL, dylib.span_end, PROT_READ | PROT_WRITE | PROT_EXEC, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (image == MAP_FAILED) die("mmap failed");
  for (unsigned i = 0; i < dylib.segment_count; ++i) {
    const struct macho_segment *s = &dylib.segments[i];
    memcpy(image + s->vmaddr, file + s->fileoff, s->filesize);
  }
  macho_walk_rebases(&dylib, rebase_one, NULL);
  macho_walk_binds(&dylib, MACHO_BINDS, bind_one, NULL);
  run_initialisers();

  long entry = find_export("_smoke_main");
  if (entry < 0) die("_smoke_main is not exported");
  int result = ((int (*)(void))(image + entry))();
  printf("result: %d\nlazy binds: %d\n", result, lazy_binds);
  return 0;
}
