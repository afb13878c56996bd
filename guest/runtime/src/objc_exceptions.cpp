// Objective-C exceptions over the host's frame chain: a throw pops the
// innermost frame and jumps into it; with no frame, and for any rethrow,
// the guest ends through the host's fatal report.
#include "objc_exceptions.h"

#include "host_functions.h"
#include "objc_runtime.h"

extern "C" __attribute__((noreturn)) void _longjmp(void* buffer, int value);

namespace {

// Selectors are passed as plain names; the host resolves them.
const char is_kind_of_class[] = "isKindOfClass:";
const char description[] = "description";
const char utf8_string[] = "UTF8String";

torvel_objc_frame* as_frame(void* frame) { return static_cast<torvel_objc_frame*>(frame); }

}

extern "C" {

void objc_exception_try_enter(void* frame) {
  as_frame(frame)->exception_object = nullptr;
  as_frame(frame)->previous_frame = torvel_exc_top();
  torvel_exc_set_top(frame);
}

void objc_exception_try_exit(void* frame) { torvel_exc_set_top(as_frame(frame)->previous_frame); }

void* objc_exception_extract(void* frame) { return as_frame(frame)->exception_object; }

int objc_exception_match(void* cls, void* exception) {
  if (cls == nullptr || exception == nullptr) return 0;
  typedef int (*kind_of_class_message)(void*, const char*, void*);
  int reply = reinterpret_cast<kind_of_class_message>(objc_msgSend)(exception, is_kind_of_class, cls);
  // A BOOL reply: only the low byte counts.
  return (reply & 0xFF) != 0 ? 1 : 0;
}

void objc_exception_throw(void* exception) {
  torvel_objc_frame* frame = as_frame(torvel_exc_top());
  if (frame == nullptr) {
    const char* text = "nil";
    if (exception != nullptr) {
      typedef void* (*object_message)(void*, const char*);
      typedef const char* (*text_message)(void*, const char*);
      void* reply = reinterpret_cast<object_message>(objc_msgSend)(exception, description);
      // An object without a description, or one whose description has no C
      // string, is reported as "nil" too: the host's report needs a text,
      // and a nil description is not messaged.
      const char* described = nullptr;
      if (reply != nullptr) described = reinterpret_cast<text_message>(objc_msgSend)(reply, utf8_string);
      if (described != nullptr) text = described;
    }
    torvel_guest_fatal("uncaught Objective-C exception", text);
  }
  // The frame leaves the chain before the jump into it.
  torvel_exc_set_top(frame->previous_frame);
  frame->exception_object = exception;
  _longjmp(frame->jump_buffer, 1);
}

void objc_exception_rethrow(void) { torvel_guest_fatal("objc_exception_rethrow", "not supported"); }

}
