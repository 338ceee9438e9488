#include "sessionstate.h"

#include "seams/dialogs.h"

void SessionState::error(const QString &text, const QString &reason) const
{
    dialogs.message(reason.isEmpty() ? text : text + QLatin1Char('\n') + reason, QStringLiteral("ERROR"), Dialogs::Icon::Critical, Dialogs::Buttons::Ok);
}

// A change replaces a file only once its earlier version is kept; when that
// cannot be done (a full disk, a file in the history folder's place) the user
// decides, with No the default, since the old text would be gone for good.
bool SessionState::changeKeepingVersion(const QString &what, const QString &failure,
                                        const std::function<Outcome(history::Unkept)> &change) const
{
    Outcome done = change(history::Unkept::Refuse);
    if (done.versionNotKept()) {
        if (dialogs.message(what, QStringLiteral("Earlier Version Not Kept"), Dialogs::Icon::Exclamation, Dialogs::Buttons::YesNo,
                            Dialogs::Button::No)
            != Dialogs::Button::Yes)
            return false;
        done = change(history::Unkept::GoOn);
    }
    if (!done)
        error(failure, done.error());
    return bool(done);
}
