#pragma once
// The status line: wrapped plain text of at most a few lines within its
// width. A text that needs more lines is cut there, and stays whole where
// the user can reach it: as the label's tool tip, and as selectable text
// (mouse, keyboard, the label's Copy and Select All).

#include <QLabel>

namespace vornik {

class StatusLabel : public QLabel {
    Q_OBJECT
public:
    explicit StatusLabel(int lines, QWidget* parent = nullptr);
    void setStatusText(const QString& text);
    // True when the text needs more lines than the label shows.
    bool isCut() const;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void refreshToolTip();
};

}  // namespace vornik
