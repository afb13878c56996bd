#pragma once
// Controls without a window: they only remember their state. The
// command-line front end prints it; tests read it.

#include "controls.h"

namespace vornik {

struct TextLabel : Label {
    std::string text, toolTip;
    void setText(const std::string& value) override { text = value; }
    void setToolTip(const std::string& value) override { toolTip = value; }
};

struct TextButton : Button {
    bool enabled = true;
    void setEnabled(bool value) override { enabled = value; }
};

struct TextCheckbox : Checkbox {
    bool enabled = true;
    CheckState checked = CheckState::off;
    void setEnabled(bool value) override { enabled = value; }
    CheckState state() const override { return checked; }
    void setState(CheckState value) override { checked = value; }
};

struct TextControls {
    TextLabel path, status;
    TextButton play, choose, logs;
    TextCheckbox skipVideos, windowed, adaptiveTriggers;

    Controls controls() {
        return Controls{&path, &status, &play, &choose, &logs,
                        &skipVideos, &windowed, &adaptiveTriggers};
    }
};

}  // namespace vornik
