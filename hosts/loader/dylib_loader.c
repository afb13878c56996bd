/* Maps one of our i386 Mach-O dylibs into the memory its shim reserved and
 * makes it ready to run, the way dyld would: segments copied, rebases
 * applied, every bind of the regular, lazy and weak streams written
 * (lazy ones at once, so dyld_stub_binder is never reached), protections
 * set, exception frames registered with the unwinder, module initialisers
 * run. See dylib_shim.h for how names are resolved. */
#include <errno.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/mman.h>
#include <unistd.h>

#include "dylib_shim.h"
#include "eh_frame_registers.h"
#include "macho_image.h"

#define PAGE 4096u

/* libgcc's unwinder: takes a whole .eh_frame block ending in a zero word. */
extern void __register_frame(void* begin);
void torvel_call_aligned(void (*function)(void));

struct loading {
  const struct torvel_shim* shim;
  struct macho_image image;
  uint8_t* base; /* where vm address 0 lies */
  unsigned rebases, binds;
};

/* Every lazy pointer is bound at load, so the stub helper never runs; if it
 * does, the bind information and the stubs disagree. */
static void lazy_binding_trap(void) {
  static const char message[] =
      "torvel-loader: dyld_stub_binder was called, but every lazy pointer was bound when the dylib was loaded\n";
  ssize_t ignored = write(2, message, sizeof message - 1);
  (void)ignored;
  _exit(1);
}

static int compare_import(const void* name, const void* entry) {
  return strcmp((const char*)name, ((const struct torvel_shim_import*)entry)->darwin_name);
}

static void map_segments(struct loading* l) {
  const struct macho_image* image = &l->image;
  if ((uintptr_t)l->base % PAGE != 0) macho_fail(image, "the reserved memory is not page-aligned");
  if (image->span_end > l->shim->image_size)
    macho_fail(image, "the dylib needs 0x%x bytes of memory, the shim reserved 0x%x (regenerate the shim)",
               image->span_end, l->shim->image_size);
  for (unsigned i = 0; i < image->segment_count; ++i) {
    const struct macho_segment* s = &image->segments[i];
    if (s->vmaddr % PAGE != 0) macho_fail(image, "segment %s does not start on a page", s->name);
    memcpy(l->base + s->vmaddr, image->file + s->fileoff, s->filesize);
    memset(l->base + s->vmaddr + s->filesize, 0, s->vmsize - s->filesize);
  }
}

static void rebase_one(void* context, int type, uint32_t vmaddr) {
  struct loading* l = context;
  (void)type; /* pointers and absolute text words both move by the slide */
  uint32_t word;
  memcpy(&word, l->base + vmaddr, 4);
  word += (uint32_t)(uintptr_t)l->base;
  memcpy(l->base + vmaddr, &word, 4);
  ++l->rebases;
}

static void bind_one(void* context, const struct macho_bind* bind) {
  struct loading* l = context;
  uint32_t target;
  if (strcmp(bind->name, "dyld_stub_binder") == 0) {
    target = (uint32_t)(uintptr_t)lazy_binding_trap;
  } else {
    const struct torvel_shim_import* import =
        bsearch(bind->name, l->shim->imports, l->shim->import_count, sizeof *l->shim->imports, compare_import);
    if (import == NULL) macho_fail(&l->image, "%s is bound by the dylib but unknown to its shim (regenerate the shim)", bind->name);
    if (import->address == NULL && !(bind->flags & MACHO_BIND_WEAK_IMPORT))
      macho_fail(&l->image, "%s is not defined anywhere in the process", bind->name);
    target = (uint32_t)(uintptr_t)import->address;
  }
  uint32_t value = target == 0 ? 0 : target + (uint32_t)bind->addend;
  if (bind->type == MACHO_TEXT_PCREL32) value -= (uint32_t)(uintptr_t)(l->base + bind->vmaddr + 4);
  memcpy(l->base + bind->vmaddr, &value, 4);
  ++l->binds;
}

static void register_exception_frames(struct loading* l) {
  const struct macho_section* eh = macho_find_section(&l->image, "__TEXT", "__eh_frame");
  if (eh == NULL || eh->size == 0) return;
  eh_frame_registers_to_svr4(&l->image, l->base + eh->addr, eh->size);
  /* The unwinder reads entries up to a zero length word, which Mach-O does
   * not write; the zeroed rest of the segment supplies it. */
  uint32_t end = eh->addr + eh->size, zero = 0;
  int room = 0;
  for (unsigned i = 0; i < l->image.segment_count; ++i) {
    const struct macho_segment* s = &l->image.segments[i];
    if (end >= s->vmaddr && (uint64_t)end + 4 <= (uint64_t)s->vmaddr + s->vmsize) room = 1;
  }
  if (!room || memcmp(l->base + end, &zero, 4) != 0)
    macho_fail(&l->image, "no zero word follows __eh_frame to end the unwinder's list");
  __register_frame(l->base + eh->addr);
}

static void protect_segments(struct loading* l) {
  for (unsigned i = 0; i < l->image.segment_count; ++i) {
    const struct macho_segment* s = &l->image.segments[i];
    int prot = (s->initprot & 1 ? PROT_READ : 0) | (s->initprot & 2 ? PROT_WRITE : 0) |
               (s->initprot & 4 ? PROT_EXEC : 0);
    size_t length = (s->vmsize + PAGE - 1) / PAGE * PAGE;
    if (length != 0 && mprotect(l->base + s->vmaddr, length, prot) != 0)
      macho_fail(&l->image, "cannot protect segment %s: %s", s->name, strerror(errno));
  }
}

/* Function pointers of an initialiser or terminator section, checked to
 * point at code of this image. */
static void (*code_pointer(struct loading* l, const struct macho_section* s, uint32_t index))(void) {
  uint32_t address;
  memcpy(&address, l->base + s->addr + 4 * index, 4);
  uint32_t vmaddr = address - (uint32_t)(uintptr_t)l->base;
  const struct macho_section* code = macho_section_at(&l->image, vmaddr);
  if (code == NULL || !(code->flags & (MACHO_S_ATTR_PURE_INSTRUCTIONS | MACHO_S_ATTR_SOME_INSTRUCTIONS)))
    macho_fail(&l->image, "entry %u of %s,%s points outside the dylib's code", index, s->segname, s->sectname);
  return (void (*)(void))(uintptr_t)address;
}

/* Terminators of every loaded dylib, run at exit in reverse order. */
static void (*terminators[256])(void);
static unsigned terminator_count;

static void run_terminators(void) {
  while (terminator_count > 0) torvel_call_aligned(terminators[--terminator_count]);
}

static void run_initialisers(struct loading* l) {
  for (unsigned i = 0; i < l->image.section_count; ++i) {
    const struct macho_section* s = &l->image.sections[i];
    uint32_t type = s->flags & MACHO_SECTION_TYPE;
    if (type != MACHO_S_MOD_INIT_FUNC_POINTERS && type != MACHO_S_MOD_TERM_FUNC_POINTERS) continue;
    for (uint32_t k = 0; k < s->size / 4; ++k) {
      void (*function)(void) = code_pointer(l, s, k);
      if (type == MACHO_S_MOD_INIT_FUNC_POINTERS) {
        torvel_call_aligned(function);
      } else {
        if (terminator_count == sizeof terminators / sizeof *terminators)
          macho_fail(&l->image, "more than %zu terminators", sizeof terminators / sizeof *terminators);
        if (terminator_count == 0) atexit(run_terminators);
        terminators[terminator_count++] = function;
      }
    }
  }
}

void torvel_load_dylib(const struct torvel_shim* shim) {
  struct loading l = {shim, {0}, shim->image, 0, 0};
  macho_read(&l.image, shim->file, shim->file_size, shim->label);
  map_segments(&l);
  macho_walk_rebases(&l.image, rebase_one, &l);
  macho_walk_binds(&l.image, MACHO_BINDS, bind_one, &l);
  macho_walk_binds(&l.image, MACHO_LAZY_BINDS, bind_one, &l);
  macho_walk_binds(&l.image, MACHO_WEAK_BINDS, bind_one, &l);
  register_exception_frames(&l);
  protect_segments(&l);
  if (getenv("TORVEL_LOADER_VERBOSE"))
    fprintf(stderr, "torvel-loader: %s mapped at %p: %u rebases, %u binds\n", shim->label, (void*)l.base, l.rebases,
            l.binds);
  run_initialisers(&l);
}
