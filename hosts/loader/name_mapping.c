#include "name_mapping.h"

#include <errno.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

/* Host names whose Linux spelling is not just the Darwin one without its
 * underscore. */
static const struct {
  const char *darwin, *elf;
} renamed[] = {
    {"___stdinp", "stdin"},   /* FILE* variables on both sides */
    {"___stdoutp", "stdout"},
    {"___stderrp", "stderr"},
    {"___error", "__errno_location"},
    {"___bzero", "bzero"},
    {"_fseeko", "fseeko64"},  /* Darwin's off_t is 64 bits wide */
    {"_ftello", "ftello64"},
    {"__Znwm", "_Znwj"},      /* operator new(size_t) */
    {"__Znam", "_Znaj"},
};

/* Suffixes the Darwin SDK adds to C functions; glibc's versions behave as the
 * suffixed ones do. */
static const char* const dropped_suffixes[] = {"$UNIX2003", "$DARWIN_EXTSN"};

void names_expand_size_letter(const char* pattern, char letter, char* out, size_t size) {
  size_t n = 0;
  for (const char* p = pattern; *p && n + 1 < size;) {
    if (strncmp(p, "{z}", 3) == 0) {
      out[n++] = letter;
      p += 3;
    } else {
      out[n++] = *p++;
    }
  }
  out[n] = 0;
}

static void add_pair(struct name_table* table, const char* darwin, const char* elf) {
  if (table->count == table->capacity) {
    table->capacity = table->capacity ? table->capacity * 2 : 256;
    table->pairs = realloc(table->pairs, table->capacity * sizeof *table->pairs);
    if (!table->pairs) abort();
  }
  table->pairs[table->count].darwin = strdup(darwin);
  table->pairs[table->count].elf = strdup(elf);
  ++table->count;
}

int names_add_export_list(struct name_table* table, const char* path) {
  FILE* file = fopen(path, "r");
  if (!file) return -1;
  char line[4096];
  while (fgets(line, sizeof line, file)) {
    char* hash = strchr(line, '#');
    if (hash) *hash = 0;
    char kind[64], pattern[2048];
    if (sscanf(line, "%63s %2047s", kind, pattern) != 2) continue;
    char darwin[2100], elf[2100];
    darwin[0] = '_';
    names_expand_size_letter(pattern, 'm', darwin + 1, sizeof darwin - 1);
    names_expand_size_letter(pattern, 'j', elf, sizeof elf);
    add_pair(table, darwin, elf);
  }
  int failed = ferror(file);
  fclose(file);
  if (failed) {
    errno = EIO;
    return -1;
  }
  return 0;
}

static const char* listed(const struct name_table* table, const char* darwin) {
  for (size_t i = 0; i < table->count; ++i)
    if (strcmp(table->pairs[i].darwin, darwin) == 0) return table->pairs[i].elf;
  return NULL;
}

const char* names_export_to_elf(const struct name_table* table, const char* darwin, char* buffer, size_t size) {
  const char* elf = listed(table, darwin);
  if (elf) return elf;
  if (darwin[0] != '_' || strlen(darwin) >= size) return NULL;
  strcpy(buffer, darwin + 1);
  return buffer;
}

const char* names_import_to_elf(const struct name_table* table, const char* darwin, char* buffer, size_t size,
                                const char** why) {
  for (size_t i = 0; i < sizeof renamed / sizeof *renamed; ++i)
    if (strcmp(renamed[i].darwin, darwin) == 0) return renamed[i].elf;
  const char* elf = listed(table, darwin);
  if (elf) return elf;
  if (darwin[0] != '_') {
    *why = "it is not a C or C++ name (no leading underscore)";
    return NULL;
  }
  if (strlen(darwin) >= size) {
    *why = "it is too long";
    return NULL;
  }
  strcpy(buffer, darwin + 1);
  char* dollar = strchr(buffer, '$');
  if (dollar) {
    int known = 0;
    for (size_t i = 0; i < sizeof dropped_suffixes / sizeof *dropped_suffixes; ++i)
      if (strcmp(dollar, dropped_suffixes[i]) == 0) known = 1;
    if (!known) {
      *why = "its Darwin variant suffix has no glibc counterpart (structures of another layout)";
      return NULL;
    }
    *dollar = 0;
  }
  return buffer;
}
