#pragma once
// Controls that remember their state and every status text they were given.

#include "text_controls.h"

#include <vector>

namespace vornik::testing {

// A label that also keeps every status text it was given, in order.
struct RecordingLabel : TextLabel {
    std::vector<std::string> history;
    void setText(const std::string& value) override {
        TextLabel::setText(value);
        history.push_back(value);
    }
};

using RecordingButton = TextButton;
using RecordingCheckbox = TextCheckbox;

struct RecordingControls {
    RecordingLabel path, status;
    RecordingButton play, choose, logs;
    RecordingCheckbox skipVideos, windowed, adaptiveTriggers;

    Controls controls() {
        return Controls{&path, &status, &play, &choose, &logs,
                        &skipVideos, &windowed, &adaptiveTriggers};
    }
    // Play, Choose Game… and the three options, which go together around a run.
    bool runControlsEnabled() const {
        return play.enabled && choose.enabled && skipVideos.enabled && windowed.enabled &&
               adaptiveTriggers.enabled;
    }
    bool runControlsDisabled() const {
        return !play.enabled && !choose.enabled && !skipVideos.enabled && !windowed.enabled &&
               !adaptiveTriggers.enabled;
    }
};

}  // namespace vornik::testing
