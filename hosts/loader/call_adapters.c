#include "call_adapters.h"

#include <stdlib.h>
#include <string.h>

#include "name_mapping.h"

int adapters_read(struct adapter_list* list, const char* path, char* error, size_t error_size) {
  FILE* f = fopen(path, "r");
  if (!f) {
    snprintf(error, error_size, "cannot open %s", path);
    return -1;
  }
  char line[4096];
  int status = 0;
  while (status == 0 && fgets(line, sizeof line, f)) {
    char* hash = strchr(line, '#');
    if (hash) *hash = 0;
    char pattern[2048], arguments[64], result[16];
    int fields = sscanf(line, "%2047s %63s %15s", pattern, arguments, result);
    if (fields <= 0) continue;
    unsigned size = result[0] == '-' && result[1] == 0 ? 0 : (unsigned)atoi(result);
    int good = fields == 3 && strlen(arguments) < sizeof list->adapters->arguments &&
               strspn(arguments, "wde") == strlen(arguments) &&
               (size == 0 ? strcmp(result, "-") == 0 : size == 1 || size == 2 || size == 4 || size == 8);
    if (!good) {
      snprintf(error, error_size,
               "%s: \"%s\" is not \"name arguments return\" (arguments of w, d, e; return - or 1, 2, 4, 8)", path,
               pattern);
      status = -1;
      break;
    }
    list->adapters = realloc(list->adapters, (list->count + 1) * sizeof *list->adapters);
    if (!list->adapters) abort();
    struct call_adapter* a = &list->adapters[list->count++];
    a->darwin[0] = '_';
    names_expand_size_letter(pattern, 'm', a->darwin + 1, sizeof a->darwin - 1);
    strcpy(a->arguments, arguments);
    a->return_size = size;
  }
  fclose(f);
  return status;
}

const struct call_adapter* adapters_find(const struct adapter_list* list, const char* darwin) {
  for (size_t i = 0; i < list->count; ++i)
    if (strcmp(list->adapters[i].darwin, darwin) == 0) return &list->adapters[i];
  return NULL;
}

static void line(FILE* out, const char* text) { fprintf(out, "  \"%s\\n\"\n", text); }

/* Copies count words from the caller's frame (ebp + from) to the call's
 * (esp + to). */
static void copy_words(FILE* out, unsigned from, unsigned to, unsigned count) {
  for (unsigned i = 0; i < count; ++i)
    fprintf(out, "  \"  movl %u(%%ebp), %%eax\\n\"\n  \"  movl %%eax, %u(%%esp)\\n\"\n", from + 4 * i, to + 4 * i);
}

void adapters_write(FILE* out, const char* elf, uint32_t offset, const struct call_adapter* adapter) {
  /* Darwin's layout of the arguments first, to size the frame. */
  unsigned darwin_size = 0;
  for (const char* a = adapter->arguments; *a; ++a)
    darwin_size = *a == 'e' ? ((darwin_size + 15) & ~15u) + 16 : darwin_size + (*a == 'd' ? 8 : 4);

  line(out, ".p2align 4");
  fprintf(out, "  \"%s:\\n\"\n", elf);
  line(out, "  pushl %ebp");
  line(out, "  movl %esp, %ebp");
  fprintf(out, "  \"  subl $%u, %%esp\\n\"\n", (darwin_size + 15) & ~15u);
  line(out, "  andl $-16, %esp"); /* the call is made 16-byte aligned, as Darwin code assumes */
  /* The caller's arguments start after the return address, and after the
   * hidden result pointer when there is one. */
  unsigned from = adapter->return_size ? 12 : 8, to = 0;
  for (const char* a = adapter->arguments; *a; ++a) {
    if (*a == 'e') {
      to = (to + 15) & ~15u;
      copy_words(out, from, to, 3); /* the 10-byte value and its padding */
      from += 12, to += 16;
    } else {
      unsigned words = *a == 'd' ? 2 : 1;
      copy_words(out, from, to, words);
      from += 4 * words, to += 4 * words;
    }
  }
  fprintf(out, "  \"  call torvel_image + 0x%x\\n\"\n", offset);
  if (adapter->return_size) {
    line(out, "  movl 8(%ebp), %ecx");
    switch (adapter->return_size) {
      case 1: line(out, "  movb %al, (%ecx)"); break;
      case 2: line(out, "  movw %ax, (%ecx)"); break;
      case 4: line(out, "  movl %eax, (%ecx)"); break;
      default: line(out, "  movl %eax, (%ecx)"); line(out, "  movl %edx, 4(%ecx)"); break;
    }
    line(out, "  movl %ecx, %eax");
    line(out, "  leave");
    line(out, "  ret $4"); /* the Linux callee pops the hidden pointer */
  } else {
    line(out, "  leave");
    line(out, "  ret");
  }
  fprintf(out, "  \".size %s, . - %s\\n\"\n", elf, elf);
}
