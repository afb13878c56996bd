/* The loader on damaged dylibs and incomplete shims: each case changes a
 * copy of a real dylib (or the shim's description of it) and loads it in a
 * child process, which must end with status 1 and a message naming the
 * fault; the untouched dylib must load without a word.
 * Usage: loader_errors_test DYLIB */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/wait.h>
#include <unistd.h>

#include "dylib_shim.h"
#include "macho_image.h"

static uint8_t* original;
static size_t original_size;
static struct macho_image parsed; /* of the original */
static char dummy_target[16];

struct attempt {
  uint8_t* file;
  size_t size;
  struct torvel_shim_import* imports;
  uint32_t import_count;
  uint32_t image_size;
};

static uint32_t get32(const uint8_t* p) { return p[0] | p[1] << 8 | p[2] << 16 | (uint32_t)p[3] << 24; }
static void put32(uint8_t* p, uint32_t v) { p[0] = v, p[1] = v >> 8, p[2] = v >> 16, p[3] = v >> 24; }

/* File offset of the first load command of the given kind. */
static uint32_t command_offset(const uint8_t* file, uint32_t kind) {
  uint32_t at = 28;
  for (uint32_t i = 0; i < get32(file + 16); ++i) {
    if (get32(file + at) == kind) return at;
    at += get32(file + at + 4);
  }
  fprintf(stderr, "setup: no load command 0x%x\n", kind);
  exit(2);
}

static struct torvel_shim_import* find(struct attempt* a, const char* name) {
  for (uint32_t i = 0; i < a->import_count; ++i)
    if (strcmp(a->imports[i].darwin_name, name) == 0) return &a->imports[i];
  fprintf(stderr, "setup: the dylib does not import %s\n", name);
  exit(2);
}

static uint32_t eh_frame_offset(void) {
  const struct macho_section* eh = macho_find_section(&parsed, "__TEXT", "__eh_frame");
  if (!eh || memcmp(original + eh->addr + 9, "zR", 3) != 0) {
    fprintf(stderr, "setup: the dylib's first CIE is not a \"zR\" CIE at the start of __eh_frame\n");
    exit(2);
  }
  return eh->addr; /* __TEXT maps the file from offset 0 at vm address 0 */
}

static void untouched(struct attempt* a) { (void)a; }
static void bad_magic(struct attempt* a) { a->file[0] ^= 0xFF; }
static void not_a_dylib(struct attempt* a) { put32(a->file + 12, 2); }
static void truncated(struct attempt* a) { a->size = 2000; }
static void import_unknown_to_shim(struct attempt* a) {
  struct torvel_shim_import* gone = find(a, "_malloc");
  memmove(gone, gone + 1, (size_t)(a->imports + a->import_count - gone - 1) * sizeof *gone);
  --a->import_count;
}
static void import_unresolved(struct attempt* a) { find(a, "_strlen")->address = NULL; }
static void unknown_rebase_opcode(struct attempt* a) { a->file[parsed.rebases.offset] = 0xD0; }
static void rebase_in_missing_segment(struct attempt* a) {
  uint8_t* p = a->file + parsed.rebases.offset;
  if ((p[0] & 0xF0) != 0x10 || (p[1] & 0xF0) != 0x20) {
    fprintf(stderr, "setup: the rebase stream does not start with a type and a segment\n");
    exit(2);
  }
  p[1] = 0x29;
}
static void lazy_name_unterminated(struct attempt* a) {
  memset(a->file + parsed.lazy_binds.offset, 0x40, parsed.lazy_binds.size);
}
static void reserved_memory_too_small(struct attempt* a) { a->image_size = 0x1000; }
static void classic_relocations(struct attempt* a) { put32(a->file + command_offset(a->file, 0xB) + 68, 1); }
static void unknown_required_command(struct attempt* a) { put32(a->file + command_offset(a->file, 0x1B), 0x80000034); }
static void eh_frame_cie_version(struct attempt* a) { a->file[eh_frame_offset() + 8] = 2; }
static void eh_frame_expression(struct attempt* a) {
  /* length, id, version, "zR", code and data alignment, return register,
   * augmentation length and data: the first instruction follows. */
  a->file[eh_frame_offset() + 17] = 0x0F;
}

static const struct {
  const char* name;
  void (*change)(struct attempt*);
  const char* message; /* null: must load silently */
} cases[] = {
    {"untouched", untouched, NULL},
    {"bad magic", bad_magic, "not a 32-bit Mach-O file"},
    {"not a dylib", not_a_dylib, "not a dylib (filetype 2)"},
    {"truncated", truncated, "extends past the end of the file"},
    {"import unknown to the shim", import_unknown_to_shim, "_malloc is bound by the dylib but unknown to its shim"},
    {"import unresolved", import_unresolved, "_strlen is not defined anywhere in the process"},
    {"unknown rebase opcode", unknown_rebase_opcode, "unknown rebase opcode 0xd0"},
    {"rebase in a missing segment", rebase_in_missing_segment, "names segment 9 of 3"},
    {"lazy bind name unterminated", lazy_name_unterminated, "a name in the lazy bind information is not terminated"},
    {"reserved memory too small", reserved_memory_too_small, "the shim reserved 0x1000"},
    {"classic relocations", classic_relocations, "classic relocations"},
    {"unknown required load command", unknown_required_command, "load command 0x80000034 must be understood"},
    {"unknown CIE version", eh_frame_cie_version, "CIE version 2 in __eh_frame is unknown"},
    {"DWARF expression in a CIE", eh_frame_expression, "uses a DWARF expression"},
};

static int compare_names(const void* a, const void* b) {
  return strcmp(((const struct torvel_shim_import*)a)->darwin_name, ((const struct torvel_shim_import*)b)->darwin_name);
}

static struct torvel_shim_import table[256];
static uint32_t table_size;

static void note_import(void* context, const struct macho_bind* bind) {
  (void)context;
  if (strcmp(bind->name, "dyld_stub_binder") == 0) return;
  for (uint32_t i = 0; i < table_size; ++i)
    if (strcmp(table[i].darwin_name, bind->name) == 0) return;
  if (table_size == 256) exit(2);
  table[table_size].darwin_name = bind->name;
  table[table_size++].address = dummy_target;
}

/* Runs one case; returns 1 when it behaved as expected. */
static int run(unsigned index) {
  struct attempt a;
  a.file = malloc(original_size);
  memcpy(a.file, original, original_size);
  a.size = original_size;
  a.imports = malloc(sizeof table);
  memcpy(a.imports, table, sizeof table);
  a.import_count = table_size;
  a.image_size = (parsed.span_end + 4095) & ~4095u;
  cases[index].change(&a);

  int pipe_ends[2];
  if (pipe(pipe_ends) != 0) return 0;
  pid_t child = fork();
  if (child == 0) {
    dup2(pipe_ends[1], 2);
    close(pipe_ends[0]);
    uint8_t* image = aligned_alloc(4096, a.image_size + 4096);
    struct torvel_shim shim = {"libtorvelrt.dylib", a.file, (uint32_t)a.size, image, a.image_size, a.imports,
                               a.import_count};
    torvel_load_dylib(&shim);
    _exit(0);
  }
  close(pipe_ends[1]);
  char text[4096];
  size_t length = 0;
  ssize_t got;
  while ((got = read(pipe_ends[0], text + length, sizeof text - 1 - length)) > 0) length += (size_t)got;
  text[length] = 0;
  close(pipe_ends[0]);
  int status;
  waitpid(child, &status, 0);
  free(a.file);
  free(a.imports);

  const char* want = cases[index].message;
  int exited = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  int ok = want == NULL ? exited == 0 && length == 0
                        : exited == 1 && strncmp(text, "torvel-loader: libtorvelrt.dylib: ", 34) == 0 &&
                              strstr(text, want) != NULL;
  if (!ok)
    printf("FAILED %s: exit %d, message \"%s\"; want exit %d and \"%s\"\n", cases[index].name, exited, text,
           want ? 1 : 0, want ? want : "");
  return ok;
}

int main(int argc, char** argv) {
  if (argc != 2) {
    fprintf(stderr, "usage: loader_errors_test DYLIB\n");
    return 2;
  }
  FILE* f = fopen(argv[1], "rb");
  if (!f) return 2;
  fseek(f, 0, SEEK_END);
  original_size = (size_t)ftell(f);
  fseek(f, 0, SEEK_SET);
  original = malloc(original_size);
  if (fread(original, 1, original_size, f) != original_size) return 2;
  fclose(f);
  macho_read(&parsed, original, original_size, argv[1]);
  macho_walk_binds(&parsed, MACHO_BINDS, note_import, NULL);
  macho_walk_binds(&parsed, MACHO_LAZY_BINDS, note_import, NULL);
  macho_walk_binds(&parsed, MACHO_WEAK_BINDS, note_import, NULL);
  qsort(table, table_size, sizeof *table, compare_names);

  unsigned failures = 0, count = sizeof cases / sizeof *cases;
  for (unsigned i = 0; i < count; ++i) failures += !run(i);
  printf("%u of %u cases as expected\n", count - failures, count);
  return failures != 0;
}
