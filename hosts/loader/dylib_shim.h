/* A dylib shim: an ELF shared library, generated at build time from one of
 * our i386 Mach-O dylibs, that stands in for the ELF build of the same
 * library in a 32-bit Linux process.
 *
 * The shim carries the dylib's bytes, reserves zeroed, page-aligned memory
 * for its segments, and exports every name of the dylib's export trie, under
 * the ELF build's spelling, at its place in that memory (so programs linked
 * against the ELF build run against the shim unchanged). Every name the
 * dylib imports or binds weakly appears in the shim as an ordinary ELF
 * reference, so the dynamic linker looks each one up by name across the
 * whole process before any constructor runs: the program first, then the
 * libraries in load order, our other shims included. The shim's constructor
 * hands all this to torvel_load_dylib, which maps the segments, rebases,
 * binds each import to what the dynamic linker found, registers the
 * exception frames and runs the module initialisers. */
#ifndef TORVEL_DYLIB_SHIM_H
#define TORVEL_DYLIB_SHIM_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

struct torvel_shim_import {
  const char* darwin_name; /* as the dylib's bind information spells it */
  const void* address;     /* what the name resolved to; null for a missing weak import */
};

struct torvel_shim {
  const char* label;            /* the dylib's file name, for messages */
  const uint8_t* file;          /* the dylib's bytes */
  uint32_t file_size;
  uint8_t* image;               /* reserved memory for vm addresses [0, image_size) */
  uint32_t image_size;
  const struct torvel_shim_import* imports; /* sorted by darwin_name (strcmp) */
  uint32_t import_count;
};

/* Maps, binds and initialises the dylib. Ends the process with a message on
 * standard error on anything it cannot map or bind. */
void torvel_load_dylib(const struct torvel_shim* shim);

#ifdef __cplusplus
}
#endif

#endif
