#include "termination_text.h"

#include "status_texts.h"

namespace vornik {

std::string terminationText(int status, bool signaled) {
    if (signaled) return stoppedOnSignalText(status);
    if (status == 0) return readyText;
    if (status == noProfileStatus) return noProfileMatchedText;
    return exitedWithStatusText(status);
}

}  // namespace vornik
