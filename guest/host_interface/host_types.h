// Basic types shared by the guest libraries and the host interface. The guest
// libraries are built without any system or toolchain header, so these come
// from the compiler's own predefined macros.
#ifndef TORVEL_GUEST_HOST_TYPES_H
#define TORVEL_GUEST_HOST_TYPES_H

// unsigned long on Darwin i386, unsigned int on Linux i386: sizes and
// positions of the guest objects use the target's size_t so that code built
// against either target's headers links to the same members.
typedef __SIZE_TYPE__ size_t;
typedef __PTRDIFF_TYPE__ ptrdiff_t;

#endif
