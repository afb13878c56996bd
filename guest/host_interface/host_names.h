// How a host-supplied C name is spelled on each guest target.
//
// The guest libraries are built twice from the same sources: as i386 ELF
// libraries for the tests on Linux, and as i386 Mach-O dylibs for the runtime
// host. This header is the only place that knows how the two targets name the
// C library. Code elsewhere declares nothing of its own and calls the plain
// C names.
//
//   Darwin i386 (10.6/10.7 SDK naming): the compiler adds the leading
//   underscore; functions the SDK renames for UNIX conformance carry the
//   "$UNIX2003" suffix, which only an asm label can express, so those
//   declarations spell the complete symbol, underscore included.
//   Linux i386 (glibc): plain names, with a few renamed to their glibc
//   counterpart (64-bit file offsets, errno, the standard FILE variables).
#ifndef TORVEL_GUEST_HOST_NAMES_H
#define TORVEL_GUEST_HOST_NAMES_H

#define TORVEL_HOST_STRINGIFY2(x) #x
#define TORVEL_HOST_STRINGIFY(x) TORVEL_HOST_STRINGIFY2(x)
#define TORVEL_HOST_SYMBOL(name) TORVEL_HOST_STRINGIFY(__USER_LABEL_PREFIX__) #name

#if defined(__APPLE__)
// fwrite -> _fwrite$UNIX2003
#  define TORVEL_HOST_UNIX2003(name) __asm__(TORVEL_HOST_SYMBOL(name) "$UNIX2003")
// A Darwin name that differs from the C name altogether (__error, __stdoutp).
#  define TORVEL_HOST_RENAMED(darwin, linux_name) __asm__(TORVEL_HOST_SYMBOL(darwin))
#  define TORVEL_HOST_LARGE_FILE(name)
#else
#  define TORVEL_HOST_UNIX2003(name)
#  define TORVEL_HOST_RENAMED(darwin, linux_name) __asm__(TORVEL_HOST_SYMBOL(linux_name))
// Darwin's off_t is 64 bits wide; glibc gives that width under the *64 names.
#  define TORVEL_HOST_LARGE_FILE(name) __asm__(TORVEL_HOST_SYMBOL(name##64))
#endif

// Hides one of our own symbols from the library's exports, for the rare case
// where the compiler emits a symbol the library must not export (a second
// constructor variant of a member exported in one variant only).
// The argument is the mangled name as a string, without the target's prefix.
#if defined(__APPLE__)
#  define TORVEL_HIDE_SYMBOL(mangled) \
    __asm__(".private_extern " TORVEL_HOST_STRINGIFY(__USER_LABEL_PREFIX__) mangled)
#else
#  define TORVEL_HIDE_SYMBOL(mangled) \
    __asm__(".hidden " TORVEL_HOST_STRINGIFY(__USER_LABEL_PREFIX__) mangled)
#endif

// The letter size_t mangles to: unsigned long on Darwin i386, unsigned int on
// Linux i386. Needed only where a mangled name is spelled out by hand.
#if defined(__APPLE__)
#  define TORVEL_SIZE_MANGLING "m"
#else
#  define TORVEL_SIZE_MANGLING "j"
#endif

#endif
