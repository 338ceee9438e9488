#pragma once

#include <QTextCharFormat>

// Words the spelling passes over, such as a heading the program wrote itself.
// RTF keeps the mark as \noproof, which word processors read the same way.
namespace richtext {

inline constexpr int kUnchecked = QTextFormat::UserProperty + 1;

inline bool isUnchecked(const QTextCharFormat &format) { return format.boolProperty(kUnchecked); }
inline void setUnchecked(QTextCharFormat &format) { format.setProperty(kUnchecked, true); }

} // namespace richtext
