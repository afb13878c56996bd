#pragma once
// Controls that remember their state and every status text they were given.

#include "controls.h"

#include <vector>

namespace vornik::testing {

struct RecordingLabel : Label {
    std::string text, toolTip;
    std::vector<std::string> history;
    void setText(const std::string& value) override {
        text = value;
        history.push_back(value);
    }
    void setToolTip(const std::string& value) override { toolTip = value; }
};

struct RecordingButton : Button {
    bool enabled = true;
    void setEnabled(bool value) override { enabled = value; }
};

struct RecordingCheckbox : Checkbox {
    bool enabled = true;
    CheckState checked = CheckState::off;
    void setEnabled(bool value) override { enabled = value; }
    CheckState state() const override { return checked; }
    void setState(CheckState value) override { checked = value; }
};

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
