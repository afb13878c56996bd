// The four functions of the runtime host itself, in the guest's C calling
// convention. Their names are the same on every target.
#ifndef TORVEL_GUEST_HOST_FUNCTIONS_H
#define TORVEL_GUEST_HOST_FUNCTIONS_H

extern "C" {

// Ends the guest, reporting an exception kind ("std::out_of_range") and its
// detail text. Stands where the legacy library would throw; never returns.
__attribute__((noreturn)) void torvel_guest_fatal(const char* kind, const char* detail) throw();

// The innermost Objective-C exception frame of the calling thread, or null.
void* torvel_exc_top(void) throw();

// Makes frame (or null) what torvel_exc_top returns next.
void torvel_exc_set_top(void* frame) throw();

// The calling thread's storage of the thread-local variable whose descriptor
// is at descriptor.
void* torvel_tlv_addr(void* descriptor) throw();

}

#endif
