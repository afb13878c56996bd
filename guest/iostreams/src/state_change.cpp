#include "state_change.h"

#include "host_functions.h"

namespace torvel_ios {

void report_failure_state() { torvel_guest_fatal("std::ios_base::failure", "basic_ios::clear"); }

}
