// The few C library functions the stream tests call. The C library's
// <stdio.h> declares its own __mbstate_t, which clashes with the guest's
// 128-byte conversion state, so these are declared here instead.
#ifndef TORVEL_TEST_C_FUNCTIONS_H
#define TORVEL_TEST_C_FUNCTIONS_H

#include <stddef.h>

extern "C" {
int snprintf(char* dst, size_t size, const char* format, ...);
int dprintf(int fd, const char* format, ...);
int printf(const char* format, ...);
size_t strlen(const char* s);
int strcmp(const char* a, const char* b);
void* memcpy(void* dst, const void* src, size_t n);
void* memset(void* dst, int value, size_t n);
int memcmp(const void* a, const void* b, size_t n);
}

#endif
