/* Darwin names of our dylibs as a Linux process spells them: our own names
 * through an export list (only the list knows which "m" is a size_t), host
 * names by the renaming rules, and names without a Linux counterpart
 * refused. The export list is a fixture written by the test. */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

#include "name_mapping.h"

static const char list_text[] =
    "# a fixture in the export lists' format\n"
    "weak _ZNSs7reserveE{z}   # size_t parameter\n"
    "weak _ZNSs4_Rep9_S_createE{z}{z}RKSaIcE\n"
    "regular tsearch\n";

static const struct {
  const char* darwin;
  const char* elf; /* null: refused */
} imports[] = {
    {"__ZNSs7reserveEm", "_ZNSs7reserveEj"},
    {"__ZNSs4_Rep9_S_createEmmRKSaIcE", "_ZNSs4_Rep9_S_createEjjRKSaIcE"},
    {"__ZNSolsEm", "_ZNSolsEm"}, /* unsigned long by type: not in the list, unchanged */
    {"_tsearch", "tsearch"},
    {"_fwrite$UNIX2003", "fwrite"},
    {"_fopen$DARWIN_EXTSN", "fopen"},
    {"_malloc", "malloc"},
    {"___stdinp", "stdin"},
    {"___stdoutp", "stdout"},
    {"___stderrp", "stderr"},
    {"___error", "__errno_location"},
    {"___bzero", "bzero"},
    {"_fseeko", "fseeko64"},
    {"_ftello", "ftello64"},
    {"__Znwm", "_Znwj"},
    {"__Znam", "_Znaj"},
    {"___cxa_atexit", "__cxa_atexit"},
    {"_stat$INODE64", NULL},
    {"_opendir$INODE64$UNIX2003", NULL},
    {"dyld_stub_binder", NULL},
};

static const struct {
  const char* darwin;
  const char* elf;
} exports[] = {
    {"__ZNSs7reserveEm", "_ZNSs7reserveEj"},
    {"_tsearch", "tsearch"},
    {"__ZNSt8ios_base4InitC1Ev", "_ZNSt8ios_base4InitC1Ev"},
    {"nounderscore", NULL},
};

int main(void) {
  char path[] = "/tmp/name_mapping_test_XXXXXX";
  int fd = mkstemp(path);
  if (fd < 0 || write(fd, list_text, sizeof list_text - 1) != (ssize_t)(sizeof list_text - 1)) return 2;
  close(fd);
  struct name_table table = {0};
  int read_status = names_add_export_list(&table, path);
  unlink(path);
  if (read_status != 0) return 2;

  int failures = 0;
  char buffer[256];
  for (size_t i = 0; i < sizeof imports / sizeof *imports; ++i) {
    const char* why = NULL;
    const char* got = names_import_to_elf(&table, imports[i].darwin, buffer, sizeof buffer, &why);
    int ok = imports[i].elf ? got && strcmp(got, imports[i].elf) == 0 : got == NULL && why != NULL;
    if (!ok) {
      printf("FAILED import %s: got %s, want %s\n", imports[i].darwin, got ? got : "(refused)",
             imports[i].elf ? imports[i].elf : "(refused)");
      ++failures;
    }
  }
  for (size_t i = 0; i < sizeof exports / sizeof *exports; ++i) {
    const char* got = names_export_to_elf(&table, exports[i].darwin, buffer, sizeof buffer);
    int ok = exports[i].elf ? got && strcmp(got, exports[i].elf) == 0 : got == NULL;
    if (!ok) {
      printf("FAILED export %s: got %s, want %s\n", exports[i].darwin, got ? got : "(none)",
             exports[i].elf ? exports[i].elf : "(none)");
      ++failures;
    }
  }
  if (names_add_export_list(&table, "/nonexistent/list") == 0) {
    printf("FAILED a missing export list was read\n");
    ++failures;
  }
  printf("%d failure(s)\n", failures);
  return failures != 0;
}
