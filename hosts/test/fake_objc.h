/* A small fake Objective-C object world for guest tests: objc_msgSend
 * answers the three messages the guest libraries send ("isKindOfClass:",
 * "description", "UTF8String") for objects made of these records, and
 * counts what it was sent. */
#ifndef TORVEL_TEST_FAKE_OBJC_H
#define TORVEL_TEST_FAKE_OBJC_H

#ifdef __cplusplus
extern "C" {
#endif

struct torvel_test_class {
  const char* name;
  const struct torvel_test_class* superclass;
};

/* An object: its class and the text its description carries; with a null
 * text, "description" answers nil. */
struct torvel_test_object {
  const struct torvel_test_class* isa;
  const char* description;
};

void* objc_msgSend(void* receiver, const char* selector, ...);

/* Messages sent so far, and the selector name of the latest. */
unsigned long torvel_test_messages_sent(void);
const char* torvel_test_last_selector(void);

#ifdef __cplusplus
}
#endif

#endif
