#include "sealedwords.h"

#include "richtext/pagecontent.h"
#include "vault/wipe.h"

namespace sealedwords {

bool forgetIfSealed(QTextDocument &document, std::optional<QByteArray> sealed)
{
    if (!sealed)
        return false;
    wipe(*sealed);
    richtext::forget(document);
    return true;
}

void recall(QTextDocument &document, std::optional<QByteArray> sealed)
{
    if (!sealed)
        return;
    (void)richtext::loadBytes(*sealed, document); // it was shown before the lock
    wipe(*sealed);
}

} // namespace sealedwords
