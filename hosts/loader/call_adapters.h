/* Adapters between the Linux and Darwin i386 calling conventions, for the
 * exports of a dylib whose calls the two conventions lay out differently.
 * A program compiled for Linux calls the shim's export; for these names the
 * export is an adapter that rebuilds the call the Darwin way.
 *
 * Two differences matter to our libraries:
 *  - a small structure returned by value (1, 2, 4 or 8 bytes): Darwin
 *    returns it in registers, Linux through a hidden pointer the callee pops;
 *  - a long double argument: 12 bytes at 4-byte alignment on Linux, a
 *    16-byte slot at 16-byte alignment on Darwin.
 *
 * The shim also exports the Darwin function behind each adapter, as
 * torvel_darwin_entry__<ELF name>; the binds of every dylib, its own
 * included, use that name, since Darwin callers need the function itself.
 * (A program's own Linux definition of such a name therefore never replaces
 * the dylib's: Darwin code could not call it.)
 *
 * An adapter list has one line per export, # comments:
 *   name  arguments  return
 * name as in the export lists ({z} for size_t's letter); arguments one
 * letter per argument: w a 4-byte word (pointers, this, int, a one-word
 * structure by value), d 8 bytes (double, long long), e a long double;
 * return "-" when the result comes back in the same registers on both, or
 * the size of a structure Darwin returns in registers. */
#ifndef TORVEL_CALL_ADAPTERS_H
#define TORVEL_CALL_ADAPTERS_H

#include <stddef.h>
#include <stdint.h>
#include <stdio.h>

struct call_adapter {
  char darwin[2100];
  char arguments[17];
  unsigned return_size; /* 0: results in the same registers */
};

struct adapter_list {
  struct call_adapter* adapters;
  size_t count;
};

/* Adds the adapters of a list file. Returns 0, or -1 with a message. */
int adapters_read(struct adapter_list* list, const char* path, char* error, size_t error_size);

const struct call_adapter* adapters_find(const struct adapter_list* list, const char* darwin);

/* Writes the adapter named elf, calling torvel_image + offset, as lines of
 * a C string literal for a top-level __asm__ in the current section. */
void adapters_write(FILE* out, const char* elf, uint32_t offset, const struct call_adapter* adapter);

#endif
