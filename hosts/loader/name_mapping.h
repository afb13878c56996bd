/* How a Darwin i386 symbol name of our dylibs is spelled in a 32-bit Linux
 * process.
 *
 * Our own libraries' names come from their export lists, where {z} stands
 * for the letter size_t mangles to ("m" on Darwin, "j" on Linux): only the
 * lists know which "m" is a size_t and which an unsigned long by type. C
 * library names lose the leading underscore and the SDK's "$UNIX2003" or
 * "$DARWIN_EXTSN" suffix, and a few are renamed to their glibc counterparts
 * (the stdio variables, errno, 64-bit file offsets, operator new). */
#ifndef TORVEL_NAME_MAPPING_H
#define TORVEL_NAME_MAPPING_H

#include <stddef.h>

struct name_pair {
  char* darwin;
  char* elf;
};

struct name_table {
  struct name_pair* pairs;
  size_t count, capacity;
};

/* Adds the names of an export list ("kind name" lines, # comments). Returns
 * 0, or -1 with errno set when the file cannot be read. */
int names_add_export_list(struct name_table* table, const char* path);

/* The ELF spelling of a name one of our dylibs exports: from the lists, else
 * the name without its leading underscore. Null when the name has none. */
const char* names_export_to_elf(const struct name_table* table, const char* darwin, char* buffer, size_t size);

/* The ELF spelling of a name a dylib imports. Null, with *why set to a
 * sentence, when the name has no counterpart on Linux. */
const char* names_import_to_elf(const struct name_table* table, const char* darwin, char* buffer, size_t size,
                                const char** why);

/* Replaces every "{z}" of pattern with letter. */
void names_expand_size_letter(const char* pattern, char letter, char* out, size_t size);

#endif
