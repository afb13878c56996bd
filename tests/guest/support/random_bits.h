// xorshift32: a small random source for the randomized tests, fixed and the
// same on every machine, so that a failing seed fails again.
#ifndef TORVEL_TEST_RANDOM_BITS_H
#define TORVEL_TEST_RANDOM_BITS_H

struct random_bits {
  unsigned state;

  unsigned next() {
    state ^= state << 13;
    state ^= state >> 17;
    state ^= state << 5;
    return state;
  }
  int below(int n) { return static_cast<int>(next() % static_cast<unsigned>(n)); }
  int between(int low, int high) { return low + below(high - low + 1); }
};

#endif
