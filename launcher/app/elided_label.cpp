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

QString ElidedLabel::oneLine(const QString& text) {
    QString shown = text;
    for (QChar& c : shown) {
        const char16_t code = c.unicode();
        if (code < 0x20)
            c = QChar(char16_t(0x2400 + code));  // the control pictures: ␀ … ␟
        else if (code == 0x7F)
            c = QChar(char16_t(0x2421));  // ␡
        else if (code == 0x85 || code == 0x2028 || code == 0x2029)
            c = QChar(char16_t(0x2424));  // ␤, for the other line and paragraph breaks
    }
    return shown;
}

void ElidedLabel::refresh() {
    const int available = contentsRect().width();
    QLabel::setText(fontMetrics().elidedText(oneLine(fullText_), Qt::ElideMiddle, available));
}

}  // namespace vornik
