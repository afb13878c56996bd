#include "status_label.h"

#include "plain_tool_tip.h"

namespace vornik {

StatusLabel::StatusLabel(int lines, QWidget* parent) : QLabel(parent) {
    setTextFormat(Qt::PlainText);  // error texts may carry paths that look like markup
    setWordWrap(true);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    setMaximumHeight(lines * fontMetrics().lineSpacing());
    QSizePolicy wrapping(QSizePolicy::Ignored, QSizePolicy::Preferred);
    wrapping.setHeightForWidth(true);  // its height follows the wrapped text
    setSizePolicy(wrapping);
}

void StatusLabel::setStatusText(const QString& text) {
    setText(text);
    refreshToolTip();
}

bool StatusLabel::isCut() const {
    return !text().isEmpty() && heightForWidth(width()) > maximumHeight();
}

void StatusLabel::resizeEvent(QResizeEvent* event) {
    QLabel::resizeEvent(event);
    refreshToolTip();
}

void StatusLabel::refreshToolTip() { setToolTip(isCut() ? plainToolTip(text()) : QString()); }

}  // namespace vornik
