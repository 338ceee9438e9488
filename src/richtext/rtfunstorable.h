#pragma once

#include <QChar>

namespace richtext {

// A NUL means nothing in a page, and U+FFFC stands for a picture, so neither
// may come in as text, whether from \uN or from a code page such as UTF-8.
inline bool isUnstorable(QChar c)
{
    return c.unicode() == 0 || c == QChar::ObjectReplacementCharacter;
}

} // namespace richtext
