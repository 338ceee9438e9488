#pragma once

#include <QTextBlockFormat>
#include <QTextLength>

// A line across the page below a paragraph. Qt's layout draws it at any
// width of the page, and RTF keeps it as the paragraph's bottom border.
namespace richtext {

inline bool hasRule(const QTextBlockFormat &format) { return format.hasProperty(QTextFormat::BlockTrailingHorizontalRulerWidth); }
inline void setRule(QTextBlockFormat &format) { format.setProperty(QTextFormat::BlockTrailingHorizontalRulerWidth, QTextLength(QTextLength::PercentageLength, 100)); }

} // namespace richtext
