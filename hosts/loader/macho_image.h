/* Reading an i386 Mach-O dylib: its header, segments and sections, and the
 * dyld information streams (rebase, bind, weak bind, lazy bind, export
 * trie), whose opcodes are named in macho_image.c and nowhere else. Shared by
 * the loader, which maps and binds a dylib at run time, by the shim
 * generator, which reads the same streams at build time, and by torvel-ld's
 * smoke loader (tests/tools/smoke), which binds lazily through a stub
 * binder of its own.
 *
 * Every read is bounds-checked. Anything malformed or unsupported ends the
 * process through macho_fail with a message naming the image: a loader that
 * half-binds a library and carries on would turn a clear fault into a
 * mysterious crash much later. */
#ifndef TORVEL_MACHO_IMAGE_H
#define TORVEL_MACHO_IMAGE_H

#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#define MACHO_MAX_SEGMENTS 8
#define MACHO_MAX_SECTIONS 64

/* Section types (low byte of the flags) and attributes the loader acts on. */
#define MACHO_SECTION_TYPE 0x000000FFu
#define MACHO_S_ZEROFILL 0x1u
#define MACHO_S_MOD_INIT_FUNC_POINTERS 0x9u
#define MACHO_S_MOD_TERM_FUNC_POINTERS 0xAu
#define MACHO_S_THREAD_LOCAL_REGULAR 0x11u
#define MACHO_S_THREAD_LOCAL_VARIABLE_POINTERS 0x14u
#define MACHO_S_THREAD_LOCAL_INIT_FUNCTION_POINTERS 0x15u
#define MACHO_S_ATTR_PURE_INSTRUCTIONS 0x80000000u
#define MACHO_S_ATTR_SOME_INSTRUCTIONS 0x00000400u

/* Bind and rebase types. */
#define MACHO_POINTER 1
#define MACHO_TEXT_ABSOLUTE32 2
#define MACHO_TEXT_PCREL32 3

/* Symbol flags of SET_SYMBOL_TRAILING_FLAGS_IMM. */
#define MACHO_BIND_WEAK_IMPORT 0x1
#define MACHO_BIND_NON_WEAK_DEFINITION 0x8

/* Export flags. */
#define MACHO_EXPORT_KIND_MASK 0x3u
#define MACHO_EXPORT_REGULAR 0x0u
#define MACHO_EXPORT_WEAK_DEFINITION 0x4u

struct macho_segment {
  char name[17];
  uint32_t vmaddr, vmsize, fileoff, filesize, initprot;
};

struct macho_section {
  char segname[17], sectname[17];
  uint32_t addr, size, flags;
};

struct macho_stream {
  uint32_t offset, size; /* in the file */
};

struct macho_image {
  const char* label; /* for messages, usually the file's name */
  const uint8_t* file;
  size_t file_size;
  struct macho_segment segments[MACHO_MAX_SEGMENTS];
  unsigned segment_count;
  struct macho_section sections[MACHO_MAX_SECTIONS];
  unsigned section_count;
  uint32_t span_start, span_end; /* lowest vmaddr, highest vmaddr + vmsize */
  struct macho_stream rebases, binds, weak_binds, lazy_binds, exports;
};

/* Which bind stream a location came from. */
enum macho_bind_stream { MACHO_BINDS, MACHO_LAZY_BINDS, MACHO_WEAK_BINDS };

struct macho_bind {
  enum macho_bind_stream stream;
  const char* name;
  int flags;  /* MACHO_BIND_* */
  int type;   /* MACHO_POINTER, MACHO_TEXT_ABSOLUTE32, MACHO_TEXT_PCREL32 */
  int32_t addend;
  uint32_t vmaddr; /* the location written, as a vm address of the image */
};

/* Ends the process: "torvel-loader: LABEL: message" on standard error, exit
 * status 1. */
__attribute__((noreturn, format(printf, 2, 3))) void macho_fail(const struct macho_image* image,
                                                               const char* format, ...);

/* Checks the header (i386 MH_DYLIB) and reads the load commands. A command
 * the loader does not know and that dyld is required to understand, classic
 * relocations, or segments that overlap or lie outside the file end it. */
void macho_read(struct macho_image* image, const uint8_t* file, size_t file_size, const char* label);

/* The section holding vmaddr, or null. */
const struct macho_section* macho_section_at(const struct macho_image* image, uint32_t vmaddr);
/* The section named SEGNAME,SECTNAME, or null. */
const struct macho_section* macho_find_section(const struct macho_image* image, const char* segname,
                                               const char* sectname);

/* Calls visit for every location of the rebase stream (type, vm address).
 * The location lies inside a segment's vm range, four bytes included. */
void macho_walk_rebases(const struct macho_image* image, void (*visit)(void* context, int type, uint32_t vmaddr),
                        void* context);

/* Calls visit for every location of one bind stream. The lazy stream is a
 * sequence of self-contained entries, each ending in DONE, and is walked
 * whole. The weak stream's announcements of strong definitions (a name with
 * NON_WEAK_DEFINITION and no location) are not visited. */
void macho_walk_binds(const struct macho_image* image, enum macho_bind_stream stream,
                      void (*visit)(void* context, const struct macho_bind* bind), void* context);

/* Calls visit for the location of the one lazy-bind entry that starts
 * `offset` bytes into the lazy stream (the number a stub helper entry hands
 * dyld_stub_binder), as dyld does when the stub is first called. */
void macho_walk_lazy_bind_at(const struct macho_image* image, uint32_t offset,
                             void (*visit)(void* context, const struct macho_bind* bind), void* context);

/* Calls visit for every name of the export trie, with its flags and its
 * offset from the mach_header. Re-exports and resolver stubs are reported
 * with their flags and offset 0; callers refuse what they cannot serve. */
void macho_walk_exports(const struct macho_image* image,
                        void (*visit)(void* context, const char* name, uint32_t flags, uint32_t offset),
                        void* context);

#ifdef __cplusplus
}
#endif

#endif
