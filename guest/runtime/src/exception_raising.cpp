// The std::__throw_* functions. None throws: each makes exactly one call to
// the host's fatal report with the exception's type name and message, and
// the guest ends there.
#include "exception_raising.h"

#include "host_functions.h"

namespace std {

void __throw_bad_alloc() { torvel_guest_fatal("std::bad_alloc", ""); }

void __throw_bad_cast() { torvel_guest_fatal("std::bad_cast", ""); }

void __throw_length_error(const char* msg) { torvel_guest_fatal("std::length_error", msg); }

void __throw_out_of_range(const char* msg) { torvel_guest_fatal("std::out_of_range", msg); }

// The format is reported as it is; its arguments are never read.
void __throw_out_of_range_fmt(const char* fmt, ...) { torvel_guest_fatal("std::out_of_range", fmt); }

void __throw_logic_error(const char* msg) { torvel_guest_fatal("std::logic_error", msg); }

void __throw_runtime_error(const char* msg) { torvel_guest_fatal("std::runtime_error", msg); }

bool uncaught_exception() throw() { return false; }

}
