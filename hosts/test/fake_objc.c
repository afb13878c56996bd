#include "fake_objc.h"

#include <stdarg.h>
#include <stdio.h>
#include <string.h>
#include <unistd.h>

static unsigned long messages_sent;
static const char* last_selector;

/* The object "description" answers with: a string object whose own
 * description is the text. */
static const struct torvel_test_class string_class = {"NSString", NULL};
static struct torvel_test_object description_reply = {&string_class, NULL};

unsigned long torvel_test_messages_sent(void) { return messages_sent; }

const char* torvel_test_last_selector(void) { return last_selector; }

void* objc_msgSend(void* receiver, const char* selector, ...) {
  ++messages_sent;
  last_selector = selector;
  struct torvel_test_object* object = receiver;
  if (object == NULL) return NULL;  /* messages to nil answer nil */

  if (strcmp(selector, "isKindOfClass:") == 0) {
    va_list args;
    va_start(args, selector);
    const struct torvel_test_class* wanted = va_arg(args, const struct torvel_test_class*);
    va_end(args);
    int yes = 0;
    for (const struct torvel_test_class* c = object->isa; c != NULL; c = c->superclass)
      if (c == wanted) yes = 1;
    /* A BOOL in AL; the rest of EAX is whatever the callee left there. */
    return (void*)(0xABCDEF00u | (unsigned)yes);
  }
  if (strcmp(selector, "description") == 0) {
    if (object->description == NULL) return NULL;  /* an object without a description */
    description_reply.description = object->description;
    return &description_reply;
  }
  if (strcmp(selector, "UTF8String") == 0) return (void*)object->description;

  fprintf(stderr, "fake objc_msgSend: unknown selector %s\n", selector);
  _exit(71);
}
