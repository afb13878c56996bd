#pragma once
// What the launch logic needs of the window's controls, and nothing more:
// texts of labels, enabled states of buttons and checkboxes, and the on/off
// state of a checkbox. The window binds these to real widgets; tests bind
// them to plain recording objects.

#include <string>

namespace vornik {

class Label {
public:
    virtual ~Label() = default;
    virtual void setText(const std::string& text) = 0;
    virtual void setToolTip(const std::string& text) = 0;
};

class Button {
public:
    virtual ~Button() = default;
    virtual void setEnabled(bool enabled) = 0;
};

enum class CheckState { off = 0, on = 1, mixed = -1 };

class Checkbox : public Button {
public:
    virtual CheckState state() const = 0;
    virtual void setState(CheckState state) = 0;
};

// A checkbox counts as on only in the exact "on" state; mixed is off.
inline bool isOn(const Checkbox& box) { return box.state() == CheckState::on; }

struct Controls {
    Label* path;
    Label* status;
    Button* play;
    Button* choose;
    Button* logs;
    Checkbox* skipVideos;
    Checkbox* windowed;
    Checkbox* adaptiveTriggers;
};

}  // namespace vornik
