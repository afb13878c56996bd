#pragma once
// A one-line label that shortens its text in the middle to fit its width,
// keeping the whole text for itself (and for the tool tip set by its owner).
// It stays one line whatever the text holds: a line feed or any other
// control or line-separating character in it (a folder's name may have
// them) is shown as its visible symbol (␊ for a line feed).

#include <QLabel>

namespace vornik {

class ElidedLabel : public QLabel {
    Q_OBJECT
public:
    explicit ElidedLabel(QWidget* parent = nullptr);
    void setFullText(const QString& text);
    QString fullText() const { return fullText_; }
    QSize minimumSizeHint() const override;
    QSize sizeHint() const override;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void refresh();
    // The text with every character that would break the line or not show
    // replaced by its visible symbol.
    static QString oneLine(const QString& text);
    QString fullText_;
};

}  // namespace vornik
