#include "addpicture.h"

#include "frmpicture.h"
#include "pictureloader.h"
#include "seams/dialogs.h"
#include "seams/messages.h"
#include "ui/modcenter.h"
#include "ui/startfolder.h"

#include <optional>

namespace picture {

namespace {
const QString kFilter = QStringLiteral("All Images (*.jpg, *.bmp, *.gif)|*.jpg;*.bmp;*.gif|All Files (*.*)|*.*");
} // namespace

void AddPicture(Dialogs &dialogs, const std::function<Frmpicture &()> &window)
{
    // Centres the file dialog and a failure message shown before the window is filled.
    std::optional<CenteringBracket> centring(std::in_place);
    const QString path = dialogs.openFile(QString(), kFilter, startFolder(QStandardPaths::PicturesLocation));
    if (path.isEmpty())
        return;
    const QImage loaded = loadPicture(path);
    if (loaded.isNull()) {
        messages::tell(dialogs, messages::notAPicture());
        return;
    }
    Frmpicture &frmpicture = window();
    frmpicture.setUnscaledPicture(loaded);
    centring.reset();
    frmpicture.showUnscaled();
}

} // namespace picture
