// The host's standard I/O and number conversion functions, as the guest
// libraries call them. Same rules as c_library.h: library sources only.
#ifndef TORVEL_GUEST_C_STDIO_H
#define TORVEL_GUEST_C_STDIO_H

#include "host_names.h"
#include "host_types.h"

extern "C" {

// The host's FILE is opaque to the guest libraries: they only pass it on.
struct torvel_host_file;
typedef struct torvel_host_file FILE;

// The standard streams are variables on both targets: __stdinp and friends
// on Darwin, stdin and friends in glibc.
extern FILE* torvel_host_stdin TORVEL_HOST_RENAMED(__stdinp, stdin);
extern FILE* torvel_host_stdout TORVEL_HOST_RENAMED(__stdoutp, stdout);
extern FILE* torvel_host_stderr TORVEL_HOST_RENAMED(__stderrp, stderr);

// Darwin's off_t is 64 bits.
typedef long long torvel_host_off_t;

FILE* fopen(const char* path, const char* mode) TORVEL_HOST_UNIX2003(fopen);
FILE* fdopen(int fd, const char* mode) TORVEL_HOST_UNIX2003(fdopen);
int fclose(FILE* file);
size_t fread(void* dst, size_t size, size_t count, FILE* file);
size_t fwrite(const void* src, size_t size, size_t count, FILE* file) TORVEL_HOST_UNIX2003(fwrite);
int fputs(const char* s, FILE* file) TORVEL_HOST_UNIX2003(fputs);
int fflush(FILE* file);
int getc(FILE* file);
int ungetc(int c, FILE* file);
int putc(int c, FILE* file);
int fileno(FILE* file);
int fseeko(FILE* file, torvel_host_off_t offset, int whence) TORVEL_HOST_LARGE_FILE(fseeko);
torvel_host_off_t ftello(FILE* file) TORVEL_HOST_LARGE_FILE(ftello);

int snprintf(char* dst, size_t size, const char* format, ...);
double strtod(const char* s, char** end) TORVEL_HOST_UNIX2003(strtod);
float strtof(const char* s, char** end) TORVEL_HOST_UNIX2003(strtof);
long strtol(const char* s, char** end, int base);
unsigned long strtoul(const char* s, char** end, int base);
long long strtoll(const char* s, char** end, int base);
unsigned long long strtoull(const char* s, char** end, int base);

}

#endif
