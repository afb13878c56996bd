// The std::__throw_* functions and std::uncaught_exception. None of them
// throws: each reports the exception to the runtime host, which ends the guest.
#ifndef TORVEL_EXCEPTION_RAISING_H
#define TORVEL_EXCEPTION_RAISING_H

#include "torvel_export.h"

namespace std {

TORVEL_EXPORT __attribute__((noreturn)) void __throw_bad_alloc();
TORVEL_EXPORT __attribute__((noreturn)) void __throw_bad_cast();
TORVEL_EXPORT __attribute__((noreturn)) void __throw_length_error(const char* msg);
TORVEL_EXPORT __attribute__((noreturn)) void __throw_out_of_range(const char* msg);
TORVEL_EXPORT __attribute__((noreturn)) void __throw_out_of_range_fmt(const char* fmt, ...);
TORVEL_EXPORT __attribute__((noreturn)) void __throw_logic_error(const char* msg);
TORVEL_EXPORT __attribute__((noreturn)) void __throw_runtime_error(const char* msg);

// Always false: this library never has an exception in flight.
TORVEL_EXPORT bool uncaught_exception() throw();

}

#endif
