// The header of the image a guest library was linked into, as its linker
// names it: the Mach-O header of a dylib, the ELF header of a shared object.
// Exit handlers are registered with this address as their DSO handle.
#ifndef TORVEL_GUEST_IMAGE_HEADER_H
#define TORVEL_GUEST_IMAGE_HEADER_H

#include "host_names.h"

extern "C" {
extern const char torvel_image_header[] TORVEL_HOST_RENAMED(_mh_dylib_header, __ehdr_start)
    __attribute__((visibility("hidden")));
}

#endif
