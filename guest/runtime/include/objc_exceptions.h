// The legacy Objective-C runtime's exception entry points. The guest's
// compiled try blocks allocate the frames; the chain of active frames is
// kept by the runtime host (torvel_exc_top / torvel_exc_set_top).
#ifndef TORVEL_OBJC_EXCEPTIONS_H
#define TORVEL_OBJC_EXCEPTIONS_H

#include "torvel_export.h"

extern "C" {

// One frame, in the guest's own memory; nothing beyond offset 80 is touched.
struct torvel_objc_frame {
  unsigned char jump_buffer[72];  // filled by the guest through _setjmp
  void* exception_object;         // nil until a throw reaches this frame
  void* previous_frame;           // the frame innermost before this one
};

TORVEL_EXPORT void objc_exception_try_enter(void* frame);
TORVEL_EXPORT void objc_exception_try_exit(void* frame);
TORVEL_EXPORT void* objc_exception_extract(void* frame);
TORVEL_EXPORT int objc_exception_match(void* cls, void* exception);
TORVEL_EXPORT __attribute__((noreturn)) void objc_exception_throw(void* exception);
TORVEL_EXPORT __attribute__((noreturn)) void objc_exception_rethrow(void);

}

#endif
