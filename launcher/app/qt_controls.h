#pragma once
// The launch logic's control interfaces bound to Qt widgets.

#include "controls.h"
#include "elided_label.h"
#include "plain_tool_tip.h"
#include "status_label.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QLabel>

namespace vornik {

inline QString plainToolTip(const std::string& text) { return plainToolTip(QString::fromStdString(text)); }

// The path label: shortened in the middle, the whole text kept.
class QtElidedLabel : public Label {
public:
    explicit QtElidedLabel(ElidedLabel* label) : label_(label) {}
    void setText(const std::string& text) override { label_->setFullText(QString::fromStdString(text)); }
    void setToolTip(const std::string& text) override { label_->setToolTip(plainToolTip(text)); }

private:
    ElidedLabel* label_;
};

// The status line: the whole text kept within reach when it is cut.
class QtStatusLabel : public Label {
public:
    explicit QtStatusLabel(StatusLabel* label) : label_(label) {}
    void setText(const std::string& text) override { label_->setStatusText(QString::fromStdString(text)); }
    void setToolTip(const std::string& text) override { label_->setToolTip(plainToolTip(text)); }

private:
    StatusLabel* label_;
};

class QtButton : public Button {
public:
    explicit QtButton(QAbstractButton* button) : button_(button) {}
    void setEnabled(bool enabled) override { button_->setEnabled(enabled); }

private:
    QAbstractButton* button_;
};

class QtCheckbox : public Checkbox {
public:
    explicit QtCheckbox(QCheckBox* box) : box_(box) {}
    void setEnabled(bool enabled) override { box_->setEnabled(enabled); }
    CheckState state() const override {
        switch (box_->checkState()) {
        case Qt::Checked: return CheckState::on;
        case Qt::PartiallyChecked: return CheckState::mixed;
        default: return CheckState::off;
        }
    }
    void setState(CheckState state) override {
        box_->setCheckState(state == CheckState::on      ? Qt::Checked
                            : state == CheckState::mixed ? Qt::PartiallyChecked
                                                         : Qt::Unchecked);
    }

private:
    QCheckBox* box_;
};

}  // namespace vornik
