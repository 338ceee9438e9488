#pragma once

#include <QByteArray>
#include <QString>

// A password or a page's words overwritten before the memory is let go, so
// freed memory does not keep them. A copy shared with another holder is only
// let go: overwriting it would change that holder's text.
void wipe(QString &text);
void wipe(QByteArray &bytes);
