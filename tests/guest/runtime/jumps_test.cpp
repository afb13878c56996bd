// setjmp and longjmp of the guest: the value rules, the registers restored
// across a deep chain, the stack pointer, the signal mask left as changed,
// and the three names at one address.
#include <dlfcn.h>
#include <signal.h>

#include "check.h"

extern "C" {
// The guest's declarations: a 24-byte buffer is all they use.
int setjmp(void* buffer) __attribute__((returns_twice));
int _setjmp(void* buffer) __attribute__((returns_twice));
int sigsetjmp(void* buffer, int save_mask) __attribute__((returns_twice));
__attribute__((noreturn)) void longjmp(void* buffer, int value);
__attribute__((noreturn)) void _longjmp(void* buffer, int value);
__attribute__((noreturn)) void siglongjmp(void* buffer, int value);

int jump_probe(void* buffer, int value, int (*save)(void*), void (*jumper)(void*, int), unsigned* seen);
}

namespace {

// Clobbers the callee-saved registers on the way down, then jumps.
__attribute__((noinline)) void deep_jump(void* buffer, int value, int depth) {
  if (depth > 0) {
    deep_jump(buffer, value, depth - 1);
    return;
  }
  // EBX is the PIC register here and already differs from the saver's value.
  __asm__ volatile("movl $0x11111111, %%esi\n\tmovl $0x22222222, %%edi\n\tmovl $0x33333333, %%ebp"
                   ::: "esi", "edi", "ebp");
  _longjmp(buffer, value);
}

void jumper(void* buffer, int value) { deep_jump(buffer, value, 20); }

void values_and_registers() {
  struct value_case {
    int passed;
    int returned;
  };
  const value_case cases[] = {{0, 1}, {1, 1}, {5, 5}, {-1, -1}};
  for (const value_case& c : cases) {
    unsigned buffer[18] = {};
    unsigned seen[6] = {};
    CHECK_EQ(jump_probe(buffer, c.passed, setjmp, jumper, seen), c.returned);
    CHECK_EQ(seen[0], 0xB0B0B0B0u);
    CHECK_EQ(seen[1], 0x5E5E5E5Eu);
    CHECK_EQ(seen[2], 0xD1D1D1D1u);
    CHECK_EQ(seen[3], 0xEBEBEBEBu);
    CHECK_EQ(seen[4], seen[5]);
    // Only the first six words are written.
    for (int i = 6; i < 18; ++i) CHECK_EQ(buffer[i], 0);
  }
}

volatile int jumps_taken;

void jump_again_and_again() {
  unsigned buffer[6];
  jumps_taken = 0;
  int value = setjmp(buffer);
  if (value < 3) {
    ++jumps_taken;
    longjmp(buffer, value + 1);  // the same buffer, any number of times
  }
  CHECK_EQ(value, 3);
  CHECK_EQ(jumps_taken, 3);
}

void signal_mask_stays_changed() {
  unsigned buffer[19];
  sigset_t none, blocked, now;
  sigemptyset(&none);
  sigprocmask(SIG_SETMASK, &none, nullptr);
  if (sigsetjmp(buffer, 1) == 0) {
    sigemptyset(&blocked);
    sigaddset(&blocked, SIGUSR1);
    sigprocmask(SIG_BLOCK, &blocked, nullptr);
    siglongjmp(buffer, 1);
  }
  sigprocmask(SIG_SETMASK, nullptr, &now);
  CHECK(sigismember(&now, SIGUSR1));
  sigprocmask(SIG_SETMASK, &none, nullptr);
}

void three_names_each() {
  void* library = dlopen("libtorvelrt.so", RTLD_NOW | RTLD_NOLOAD);
  CHECK(library != nullptr);
  if (library == nullptr) return;
  void* save = dlsym(library, "setjmp");
  void* jump = dlsym(library, "longjmp");
  CHECK(save != nullptr && jump != nullptr && save != jump);
  CHECK(dlsym(library, "_setjmp") == save);
  CHECK(dlsym(library, "sigsetjmp") == save);
  CHECK(dlsym(library, "_longjmp") == jump);
  CHECK(dlsym(library, "siglongjmp") == jump);
  // The program's own calls reach the library's functions.
  CHECK(reinterpret_cast<void*>(&setjmp) == save);
  CHECK(reinterpret_cast<void*>(&siglongjmp) == jump);
  dlclose(library);
}

}

int main() {
  check::set_case("values and registers");
  values_and_registers();
  check::set_case("repeated jumps");
  jump_again_and_again();
  check::set_case("signal mask");
  signal_mask_stays_changed();
  check::set_case("names");
  three_names_each();
  return check::finish();
}
