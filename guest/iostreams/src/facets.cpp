#include "facets.h"

#include "c_library.h"

#include "placement.h"

// The virtual table of the facet shape stays inside the library; its type
// information is what the guest may see.
TORVEL_HIDE_SYMBOL("_ZTVSt16ctype_char_shape");

alignas(4) unsigned char the_ctype[sizeof(std::ctype_char_shape)];
alignas(4) unsigned char the_num_facet[16];

namespace {

// Bytes 0x00 to 0xff in order: the source of both identity tables.
struct identity_bytes {
  unsigned char bytes[256];
  constexpr identity_bytes() : bytes() {
    for (int i = 0; i < 256; ++i) bytes[i] = static_cast<unsigned char>(i);
  }
};
constexpr identity_bytes identity_table;

}

namespace torvel_ios __attribute__((visibility("hidden"))) {

void build_the_ctype() {
  std::ctype_char_shape* shape = new (the_ctype) std::ctype_char_shape;
  shape->shape_ref_count = 1;
  shape->native_locale = 0;
  shape->owns_table = false;
  shape->upper_map = 0;
  shape->lower_map = 0;
  shape->class_table = 0;
  shape->widen_ready = 1;
  memcpy(shape->widen_map, identity_table.bytes, 256);
  memcpy(shape->narrow_map, identity_table.bytes, 256);
  shape->narrow_ready = 1;
  memset(reinterpret_cast<unsigned char*>(shape) + 542, 0, 2);
}

}
