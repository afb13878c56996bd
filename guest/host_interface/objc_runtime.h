// The one Objective-C runtime function the guest libraries call. The host
// resolves the selector argument by name: the libraries pass the address of
// a plain selector name ("isKindOfClass:") rather than a registered selector.
#ifndef TORVEL_GUEST_OBJC_RUNTIME_H
#define TORVEL_GUEST_OBJC_RUNTIME_H

extern "C" {

// The variadic prototype of the legacy runtime; callers cast it to the
// exact signature of the message they send.
void* objc_msgSend(void* receiver, const char* selector, ...);

}

#endif
