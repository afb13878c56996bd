// __tlv_bootstrap: called as compiled guest code calls it, with the
// descriptor in EAX, it returns the host's address for the variable and
// keeps every other register, including XMM0-XMM7; every access asks the
// host again.
#include <string.h>

#include "check.h"
#include "test_host.h"

extern "C" {
void __tlv_bootstrap();
void* tlv_probe(void* descriptor, const unsigned char* xmm_in, unsigned char* xmm_out, unsigned* gp_out);
void* tlv_aligned_access(void* descriptor);
}

int main() {
  // A descriptor: the accessor, then words of the host's own (the test host
  // reads the third as the variable's offset).
  void* descriptor[3] = {reinterpret_cast<void*>(&__tlv_bootstrap), nullptr, reinterpret_cast<void*>(64)};
  unsigned char xmm_in[128];
  for (int i = 0; i < 128; ++i) xmm_in[i] = static_cast<unsigned char>(i * 7 + 1);

  unsigned long calls_before = torvel_test_tlv_calls();
  void* first = nullptr;
  for (int access = 0; access < 2; ++access) {
    check::set_case(access == 0 ? "first access" : "second access");
    unsigned char xmm_out[128] = {};
    unsigned gp[6] = {};
    void* address = tlv_probe(descriptor, xmm_in, xmm_out, gp);
    CHECK(address != nullptr);
    if (access == 0) first = address;
    CHECK(address == first);
    CHECK(memcmp(xmm_in, xmm_out, sizeof xmm_in) == 0);
    CHECK_EQ(gp[0], 0xC1C1C1C1u);  // ECX
    CHECK_EQ(gp[1], 0xD2D2D2D2u);  // EDX
    CHECK_EQ(gp[2], 0xB3B3B3B3u);  // EBX
    CHECK_EQ(gp[3], 0x54545454u);  // ESI
    CHECK_EQ(gp[4], 0xD5D5D5D5u);  // EDI
    CHECK_EQ(gp[5], 4);            // the stack pointer came back
    CHECK_EQ(torvel_test_tlv_calls(), calls_before + access + 1);
    CHECK(torvel_test_tlv_last_descriptor() == descriptor);
  }

  // The host's function is entered with the stack aligned as the i386 ABI
  // promises a callee (it may keep SSE values in aligned stack slots).
  check::set_case("host entered with an aligned stack");
  CHECK(tlv_aligned_access(descriptor) == first);
  CHECK_EQ(torvel_test_tlv_entry_alignment(), 12u);
  return check::finish();
}
