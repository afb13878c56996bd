#pragma once
// Tool tips are read as markup whenever they look like it; one that only
// looks like markup is escaped so that it shows as written.

#include <QString>
#include <QTextDocument>

namespace vornik {

inline QString plainToolTip(const QString& tip) {
    if (!Qt::mightBeRichText(tip)) return tip;
    return "<p style='white-space:pre'>" + tip.toHtmlEscaped() + "</p>";
}

}  // namespace vornik
