#include "sessionstate.h"

#include "seams/dialogs.h"

// A change replaces a file only once its earlier version is kept; when that
// cannot be done (a full disk, a file in the history folder's place) the user
// decides, with No the default, since the old text would be gone for good.
bool SessionState::changeKeepingVersion(const messages::Box &question, messages::Box (*failure)(const QString &),
                                        const std::function<Outcome(history::Unkept)> &change) const
{
    Outcome done = change(history::Unkept::Refuse);
    if (done.versionNotKept()) {
        if (!messages::agreed(dialogs, question))
            return false;
        done = change(history::Unkept::GoOn);
    }
    if (!done)
        messages::tell(dialogs, failure(done.error()));
    return bool(done);
}
