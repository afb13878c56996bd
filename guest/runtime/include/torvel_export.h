// The guest libraries are compiled with hidden visibility; what the guest ABI
// names is marked with TORVEL_EXPORT and nothing else leaves the library.
#ifndef TORVEL_EXPORT_H
#define TORVEL_EXPORT_H

#define TORVEL_EXPORT __attribute__((visibility("default")))
#define TORVEL_INTERNAL __attribute__((visibility("hidden")))

// Internal routines that call nothing able to throw; callers need no
// unwinding information for them.
#define TORVEL_NOTHROW __attribute__((nothrow))

#endif
