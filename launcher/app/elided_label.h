#pragma once
// A one-line label that shortens its text in the middle to fit its width,
// keeping the whole text for itself (and for the tool tip set by its owner).

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
    QString fullText_;
};

}  // namespace vornik
