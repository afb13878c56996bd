#include "elided_label.h"

#include <QFontMetrics>

namespace vornik {

ElidedLabel::ElidedLabel(QWidget* parent) : QLabel(parent) {
    setTextFormat(Qt::PlainText);  // a path is shown as written, never read as markup
    setWordWrap(false);
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
}

void ElidedLabel::setFullText(const QString& text) {
    fullText_ = text;
    refresh();
}

QSize ElidedLabel::minimumSizeHint() const {
    return QSize(0, QLabel::minimumSizeHint().height());
}

QSize ElidedLabel::sizeHint() const { return QSize(0, QLabel::sizeHint().height()); }

void ElidedLabel::resizeEvent(QResizeEvent* event) {
    QLabel::resizeEvent(event);
    refresh();
}

void ElidedLabel::refresh() {
    const int available = contentsRect().width();
    QLabel::setText(fontMetrics().elidedText(fullText_, Qt::ElideMiddle, available));
}

}  // namespace vornik
