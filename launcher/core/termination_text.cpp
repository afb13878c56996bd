#include "termination_text.h"

namespace vornik {

std::string terminationText(int status, bool signaled) {
    if (signaled)
        return "Vornik stopped on signal " + std::to_string(status) + ". See the session log.";
    if (status == 0) return "Ready to play";
    if (status == noProfileStatus)
        return "No compatibility profile matched this Vornik build. See the session log.";
    return "Vornik exited with status " + std::to_string(status) + ". See the session log.";
}

}  // namespace vornik
