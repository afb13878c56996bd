/* torvel-shim-gen: writes the C source of a dylib shim (see dylib_shim.h).
 *
 *   torvel-shim-gen --dylib PATH --output SHIM.c [--label NAME]
 *                   [--names EXPORT_LIST ...] [--adapters LIST]
 *
 * --names gives the export lists of our libraries (this one's and those it
 * imports from), which spell each name for both targets. --adapters lists
 * the exports whose calls Linux and Darwin lay out differently; the shim
 * exports an adapter under their names instead of the Darwin function
 * itself (call_adapters.h).
 *
 * It runs at build time (under the emulator, like every i386 program here)
 * and ends with a message and status 1 on anything it cannot translate. */
#include <errno.h>
#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "call_adapters.h"
#include "macho_image.h"
#include "name_mapping.h"

/* The name under which a shim also exports the Darwin function behind an
 * adapter. */
#define DARWIN_ENTRY_PREFIX "torvel_darwin_entry__"

struct import {
  char* darwin;
  char* elf;
  int weak; /* every reference may go unbound */
};

struct generator {
  const char* dylib_path;
  const char* label;
  struct macho_image image;
  struct name_table names;
  struct adapter_list adapters;
  struct import* imports;
  size_t import_count;
  char** exported_elf; /* to refuse two Darwin names with one ELF spelling */
  size_t export_count;
  FILE* out;
};

__attribute__((noreturn, format(printf, 1, 2))) static void fail(const char* format, ...) {
  va_list args;
  va_start(args, format);
  fputs("torvel-shim-gen: ", stderr);
  vfprintf(stderr, format, args);
  fputc('\n', stderr);
  va_end(args);
  exit(1);
}

static uint8_t* read_file(const char* path, size_t* size) {
  FILE* f = fopen(path, "rb");
  if (!f) fail("cannot open %s: %s", path, strerror(errno));
  size_t capacity = 1 << 16, n = 0;
  uint8_t* bytes = malloc(capacity);
  for (;;) {
    if (n == capacity) bytes = realloc(bytes, capacity *= 2);
    if (!bytes) fail("out of memory reading %s", path);
    size_t got = fread(bytes + n, 1, capacity - n, f);
    n += got;
    if (got == 0) break;
  }
  if (ferror(f)) fail("cannot read %s", path);
  fclose(f);
  *size = n;
  return bytes;
}

/* Names go into assembly unquoted: only what a mangled or C name holds. */
static void check_symbol(const char* name) {
  for (const char* p = name; *p; ++p)
    if (!((*p >= 'a' && *p <= 'z') || (*p >= 'A' && *p <= 'Z') || (*p >= '0' && *p <= '9') || *p == '_' || *p == '.'))
      fail("\"%s\" cannot be written as an ELF symbol", name);
}

static void write_export(void* context, const char* darwin, uint32_t flags, uint32_t offset) {
  struct generator* g = context;
  if ((flags & ~(uint32_t)MACHO_EXPORT_WEAK_DEFINITION) != MACHO_EXPORT_REGULAR)
    fail("%s: export %s has kind flags 0x%x; only regular and weak definitions can be served", g->label, darwin, flags);
  char buffer[2100];
  const char* elf = names_export_to_elf(&g->names, darwin, buffer, sizeof buffer);
  if (!elf) fail("%s: export %s has no ELF spelling", g->label, darwin);
  check_symbol(elf);
  for (size_t i = 0; i < g->export_count; ++i)
    if (strcmp(g->exported_elf[i], elf) == 0) fail("%s: two exports are spelt %s on Linux", g->label, elf);
  g->exported_elf = realloc(g->exported_elf, (g->export_count + 1) * sizeof *g->exported_elf);
  g->exported_elf[g->export_count++] = strdup(elf);

  const struct macho_section* section = macho_section_at(&g->image, offset);
  if (!section) fail("%s: export %s at 0x%x lies in no section", g->label, darwin, offset);
  int code = (section->flags & (MACHO_S_ATTR_PURE_INSTRUCTIONS | MACHO_S_ATTR_SOME_INSTRUCTIONS)) != 0;
  const struct call_adapter* adapter = adapters_find(&g->adapters, darwin);
  if (adapter && !code) fail("%s: %s is listed for an adapter but is not code", g->label, darwin);

  fprintf(g->out, "  \"%s %s\\n\"\n", flags & MACHO_EXPORT_WEAK_DEFINITION ? ".weak" : ".globl", elf);
  fprintf(g->out, "  \".type %s, %s\\n\"\n", elf, code ? "@function" : "@object");
  if (adapter) {
    adapters_write(g->out, elf, offset, adapter);
    /* Darwin callers in other dylibs need the function itself. */
    fprintf(g->out, "  \".globl " DARWIN_ENTRY_PREFIX "%s\\n\"\n", elf);
    fprintf(g->out, "  \".type " DARWIN_ENTRY_PREFIX "%s, @function\\n\"\n", elf);
    fprintf(g->out, "  \".set " DARWIN_ENTRY_PREFIX "%s, torvel_image + 0x%x\\n\"\n", elf, offset);
  }
  else
    fprintf(g->out, "  \".set %s, torvel_image + 0x%x\\n\"\n", elf, offset);
}

static void note_import(void* context, const struct macho_bind* bind) {
  struct generator* g = context;
  if (strcmp(bind->name, "dyld_stub_binder") == 0) return; /* the loader binds everything at once */
  int weak = (bind->flags & MACHO_BIND_WEAK_IMPORT) != 0;
  for (size_t i = 0; i < g->import_count; ++i) {
    if (strcmp(g->imports[i].darwin, bind->name) == 0) {
      g->imports[i].weak &= weak;
      return;
    }
  }
  char buffer[2100], entry[2200];
  const char* why = NULL;
  const char* elf = names_import_to_elf(&g->names, bind->name, buffer, sizeof buffer, &why);
  if (!elf) fail("%s: import %s cannot be bound in a Linux process: %s", g->label, bind->name, why);
  check_symbol(elf);
  /* A Darwin caller must reach the Darwin function, never the Linux-facing
   * adapter exported under the name. */
  if (adapters_find(&g->adapters, bind->name)) {
    snprintf(entry, sizeof entry, DARWIN_ENTRY_PREFIX "%s", elf);
    elf = entry;
  }
  g->imports = realloc(g->imports, (g->import_count + 1) * sizeof *g->imports);
  g->imports[g->import_count].darwin = strdup(bind->name);
  g->imports[g->import_count].elf = strdup(elf);
  g->imports[g->import_count].weak = weak;
  ++g->import_count;
}

static int by_darwin_name(const void* a, const void* b) {
  return strcmp(((const struct import*)a)->darwin, ((const struct import*)b)->darwin);
}

static void write_c_string(FILE* o, const char* s) {
  fputc('"', o);
  for (; *s; ++s) {
    if (*s == '"' || *s == '\\') fputc('\\', o);
    fputc(*s, o);
  }
  fputc('"', o);
}

int main(int argc, char** argv) {
  struct generator g;
  memset(&g, 0, sizeof g);
  const char* output = NULL;
  for (int i = 1; i < argc; ++i) {
    const char* option = argv[i];
    if (i + 1 >= argc) fail("%s needs a value", option);
    const char* value = argv[++i];
    if (strcmp(option, "--dylib") == 0) {
      g.dylib_path = value;
    } else if (strcmp(option, "--output") == 0) {
      output = value;
    } else if (strcmp(option, "--label") == 0) {
      g.label = value;
    } else if (strcmp(option, "--names") == 0) {
      if (names_add_export_list(&g.names, value) != 0) fail("cannot read %s: %s", value, strerror(errno));
    } else if (strcmp(option, "--adapters") == 0) {
      char error[4200];
      if (adapters_read(&g.adapters, value, error, sizeof error) != 0) fail("%s", error);
    } else {
      fail("unknown option %s (usage: --dylib PATH --output SHIM.c [--label NAME] [--names LIST]... "
           "[--adapters LIST])", option);
    }
  }
  if (!g.dylib_path || !output) fail("--dylib and --output are required");
  if (!g.label) {
    const char* slash = strrchr(g.dylib_path, '/');
    g.label = slash ? slash + 1 : g.dylib_path;
  }
  if (strpbrk(g.dylib_path, "\"\\\n")) fail("the dylib's path cannot be written into assembly");

  size_t size;
  uint8_t* bytes = read_file(g.dylib_path, &size);
  macho_read(&g.image, bytes, size, g.label);
  uint32_t image_size = (g.image.span_end + 4095u) & ~4095u;

  char temporary[4096];
  snprintf(temporary, sizeof temporary, "%s.tmp", output);
  g.out = fopen(temporary, "w");
  if (!g.out) fail("cannot write %s: %s", temporary, strerror(errno));
  FILE* o = g.out;
  fprintf(o, "/* Generated by torvel-shim-gen from %s. Do not edit. */\n", g.dylib_path);
  fprintf(o, "#include \"dylib_shim.h\"\n\n");
  fprintf(o, "__asm__(\n");
  fprintf(o, "  \".pushsection .torvel_image, \\\"aw\\\", @nobits\\n\"\n");
  fprintf(o, "  \".p2align 12\\n\"\n  \".globl torvel_image\\n\"\n  \".hidden torvel_image\\n\"\n");
  fprintf(o, "  \"torvel_image:\\n\"\n  \".skip 0x%x\\n\"\n", image_size);
  fprintf(o, "  \".popsection\\n\"\n");
  fprintf(o, "  \".pushsection .rodata.torvel_dylib, \\\"a\\\"\\n\"\n");
  fprintf(o, "  \".p2align 4\\n\"\n  \".globl torvel_dylib\\n\"\n  \".hidden torvel_dylib\\n\"\n");
  fprintf(o, "  \"torvel_dylib:\\n\"\n  \".incbin \\\"%s\\\"\\n\"\n", g.dylib_path);
  fprintf(o, "  \".popsection\\n\"\n");
  fprintf(o, "  \".pushsection .text\\n\"\n");
  macho_walk_exports(&g.image, write_export, &g);
  fprintf(o, "  \".popsection\\n\"\n");
  fprintf(o, ");\n\n");

  macho_walk_binds(&g.image, MACHO_BINDS, note_import, &g);
  macho_walk_binds(&g.image, MACHO_LAZY_BINDS, note_import, &g);
  macho_walk_binds(&g.image, MACHO_WEAK_BINDS, note_import, &g);
  qsort(g.imports, g.import_count, sizeof *g.imports, by_darwin_name);

  fprintf(o, "extern const uint8_t torvel_dylib[] __attribute__((visibility(\"hidden\")));\n");
  fprintf(o, "extern uint8_t torvel_image[] __attribute__((visibility(\"hidden\")));\n\n");
  for (size_t i = 0; i < g.import_count; ++i)
    fprintf(o, "extern char torvel_import_%zu[] __asm__(\"%s\")%s;\n", i, g.imports[i].elf,
            g.imports[i].weak ? " __attribute__((weak))" : "");
  fprintf(o, "\nstatic const struct torvel_shim_import imports[] = {\n");
  for (size_t i = 0; i < g.import_count; ++i) {
    fprintf(o, "  {");
    write_c_string(o, g.imports[i].darwin);
    fprintf(o, ", torvel_import_%zu},\n", i);
  }
  if (g.import_count == 0) fprintf(o, "  {0, 0},\n");
  fprintf(o, "};\n\n");
  fprintf(o, "static const struct torvel_shim shim = {");
  write_c_string(o, g.label);
  fprintf(o, ", torvel_dylib, %zu, torvel_image, 0x%x, imports, %zu};\n\n", size, image_size, g.import_count);
  fprintf(o, "__attribute__((constructor)) static void load_dylib(void) { torvel_load_dylib(&shim); }\n");
  if (fclose(o) != 0) fail("cannot write %s", temporary);
  if (rename(temporary, output) != 0) fail("cannot rename %s to %s: %s", temporary, output, strerror(errno));
  return 0;
}
