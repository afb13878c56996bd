// The library's one module initialiser: the facet placeholder first, then
// the standard streams, whose final flush is registered to run at exit.
#include "facets.h"
#include "host_names.h"
#include "image_header.h"
#include "ios_base.h"
#include "placement.h"

extern "C" {
int __cxa_atexit(void (*fn)(void*), void* object, void* dso_handle);
void torvel_init_destroy(void* object) __asm__(TORVEL_HOST_SYMBOL(_ZNSt8ios_base4InitD1Ev));
}

// The library's own Init object: an empty class, never constructed as a C++
// object (its constructor is called by hand below, and its destructor runs
// from the exit handlers).
alignas(std::ios_base::Init) static unsigned char init_streams[sizeof(std::ios_base::Init)];

__attribute__((constructor)) static void start_streams() {
  torvel_ios::build_the_ctype();
  new (init_streams) std::ios_base::Init;
  __cxa_atexit(torvel_init_destroy, init_streams, const_cast<char*>(torvel_image_header));
}
