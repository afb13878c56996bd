// For the fatal report tests of the streams: a hook that writes a stream's
// state after the report line, and one extraction on a stream over a
// script_buffer with a given exception mask.
#ifndef TORVEL_TEST_FATAL_STATE_H
#define TORVEL_TEST_FATAL_STATE_H

#include "c_functions.h"
#include "script_buffer.h"
#include "test_host.h"

// The fatal hook: context is the basic_ios<char> whose state is written.
inline void report_state(void* ios) {
  dprintf(2, "state=%d\n", static_cast<std::basic_ios<char>*>(ios)->rdstate());
}

// Installs report_state for s; the basic_ios part is passed, wherever it
// lies in the stream object.
inline void report_state_on_fatal(std::basic_ios<char>& s) { torvel_test_on_fatal(report_state, &s); }

// Runs extract(in) on a stream over the input text with the mask set and
// report_state installed, for a child process of EXPECT_FATAL.
template<typename Extract> void run_with_mask(int mask, const char* input, Extract extract) {
  script_buffer buffer(input);
  std::istream in(&buffer);
  in.exceptions(std::ios_base::iostate(mask));
  report_state_on_fatal(in);
  extract(in);
}

#endif
