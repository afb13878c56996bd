// The one place the streams reach the host's fatal report: a state change
// that meets the stream's exception mask ends the guest here.
#include "state_change.h"

#include "host_functions.h"

namespace torvel_ios {

void report_failure_state() { torvel_guest_fatal("std::ios_base::failure", "basic_ios::clear"); }

}
