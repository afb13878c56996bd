// The C library functions the guest libraries call, as the runtime host
// supplies them. Include this header only in the libraries' own sources:
// it declares the functions without any system header, which would clash with
// a test program's <stdlib.h>.
#ifndef TORVEL_GUEST_C_LIBRARY_H
#define TORVEL_GUEST_C_LIBRARY_H

#include "host_names.h"
#include "host_types.h"

extern "C" {

// Memory. None of these is renamed on either target.
void* malloc(size_t size) throw();
void* calloc(size_t count, size_t size) throw();
void free(void* block) throw();

// Byte strings.
void* memcpy(void* dst, const void* src, size_t n) throw();
void* memmove(void* dst, const void* src, size_t n) throw();
void* memset(void* dst, int value, size_t n) throw();
int memcmp(const void* a, const void* b, size_t n) throw();
size_t strlen(const char* s) throw();

// Finding a byte (the line readers look for the delimiter in a run of
// buffered input).
void* memchr(const void* s, int c, size_t n) throw();

// errno lives behind a function on both targets.
int* torvel_host_errno_location(void) throw() TORVEL_HOST_RENAMED(__error, __errno_location);

}

#endif
