// Objective-C exceptions: throws land in the innermost frame and pop it,
// nested frames, matching without messaging nil, and the fatal ends.
#include <stddef.h>

#include <stdio.h>

#include "check.h"
#include "fake_objc.h"
#include "objc_exceptions.h"
#include "test_host.h"

extern "C" int _setjmp(void* buffer) __attribute__((returns_twice));

static_assert(offsetof(torvel_objc_frame, exception_object) == 72, "the thrown object follows the buffer");
static_assert(offsetof(torvel_objc_frame, previous_frame) == 76, "then the previous frame");

namespace {

const torvel_test_class base_class = {"NSException", nullptr};
const torvel_test_class derived_class = {"GameError", &base_class};
const torvel_test_class other_class = {"NSString", nullptr};
torvel_test_object boom = {&derived_class, "boom"};
torvel_test_object second = {&base_class, "second"};

void single_frame() {
  void* outer_top = torvel_exc_top();
  torvel_objc_frame frame;
  objc_exception_try_enter(&frame);
  CHECK(torvel_exc_top() == &frame);
  CHECK(frame.previous_frame == outer_top);
  CHECK(frame.exception_object == nullptr);
  volatile int body_ran = 0;
  if (_setjmp(frame.jump_buffer) == 0) {
    body_ran = 1;
    objc_exception_throw(&boom);
  } else {
    CHECK_EQ(body_ran, 1);
    CHECK(objc_exception_extract(&frame) == &boom);
    CHECK(torvel_exc_top() == outer_top);  // popped before the jump
  }
}

void normal_exit() {
  torvel_objc_frame frame;
  objc_exception_try_enter(&frame);
  if (_setjmp(frame.jump_buffer) == 0) {
    objc_exception_try_exit(&frame);
  } else {
    CHECK(!"no throw happened");
  }
  CHECK(torvel_exc_top() == nullptr);
}

void nested_frames() {
  torvel_objc_frame outer, inner;
  volatile int landed_inner = 0, landed_outer = 0;
  objc_exception_try_enter(&outer);
  if (_setjmp(outer.jump_buffer) == 0) {
    objc_exception_try_enter(&inner);
    CHECK(inner.previous_frame == &outer);
    if (_setjmp(inner.jump_buffer) == 0) {
      objc_exception_throw(&boom);
    } else {
      landed_inner = 1;
      CHECK(objc_exception_extract(&inner) == &boom);
      CHECK(torvel_exc_top() == &outer);
      objc_exception_throw(&second);  // from the handler: lands in the outer frame
    }
  } else {
    landed_outer = 1;
    CHECK(objc_exception_extract(&outer) == &second);
    CHECK(torvel_exc_top() == nullptr);
  }
  CHECK_EQ(landed_inner, 1);
  CHECK_EQ(landed_outer, 1);
}

void matching() {
  struct match_case {
    const char* name;
    const void* cls;
    void* exception;
    int result;
    bool messages;
  };
  const match_case cases[] = {
    {"same class", &derived_class, &boom, 1, true},
    {"superclass", &base_class, &boom, 1, true},
    {"unrelated class", &other_class, &boom, 0, true},
    {"subclass of the object's class", &derived_class, &second, 0, true},
    {"nil class", nullptr, &boom, 0, false},
    {"nil exception", &base_class, nullptr, 0, false},
  };
  for (const match_case& c : cases) {
    check::set_case(c.name);
    unsigned long before = torvel_test_messages_sent();
    CHECK_EQ(objc_exception_match(const_cast<void*>(c.cls), c.exception), c.result);
    CHECK_EQ(torvel_test_messages_sent() - before, c.messages ? 1 : 0);
    if (c.messages) CHECK_TEXT(torvel_test_last_selector(), "isKindOfClass:");
  }
}

unsigned long messages_before;

void report_messages(void*) {
  fprintf(stderr, "messages=%lu\n", torvel_test_messages_sent() - messages_before);
}

// An object whose description is nil: the report still gets a text, and
// nothing is sent to the nil description.
torvel_test_object silent = {&base_class, nullptr};

struct uncaught_case {
  const char* name;
  void* exception;
  const char* detail;
  const char* messages;  // what the fatal hook reports
};

const uncaught_case uncaught_cases[] = {
  {"uncaught", &boom, "boom", "messages=2\n"},
  {"uncaught nil", nullptr, "nil", "messages=0\n"},
  {"uncaught without a description", &silent, "nil", "messages=1\n"},
};

void throw_uncaught(void* exception) {
  torvel_test_on_fatal(report_messages, nullptr);
  messages_before = torvel_test_messages_sent();
  objc_exception_throw(exception);
}

}

int main() {
  check::set_case("single frame");
  single_frame();
  check::set_case("normal exit");
  normal_exit();
  check::set_case("nested frames");
  nested_frames();
  matching();

  for (const uncaught_case& c : uncaught_cases) {
    check::set_case(c.name);
    EXPECT_FATAL(throw_uncaught, c.exception, "uncaught Objective-C exception", c.detail, c.messages);
  }
  check::set_case("rethrow");
  EXPECT_FATAL([](void*) { objc_exception_rethrow(); }, nullptr, "objc_exception_rethrow", "not supported");
  return check::finish();
}
