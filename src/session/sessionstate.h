#pragma once

#include "diary/dataroot.h"
#include "diary/history.h"
#include "draftkeeper.h"
#include "richtext/textcache.h"
#include "seams/messages.h"

#include <QString>

#include <chrono>
#include <functional>
#include <memory>

class Clock;
class Dialogs;
class Vault;

// What every part of the open diary shares: the seams, the diary's folder and
// form, the texts kept for searching and the one writer of drafts.
class SessionState
{
public:
    SessionState(Dialogs &dialogs, const Clock &clock) : dialogs(dialogs), clock(clock) {}

    DataRoot dataRoot() const { return DataRoot(root, vault); }
    // `failure` builds the box telling what went wrong, given why.
    bool changeKeepingVersion(const messages::Box &question, messages::Box (*failure)(const QString &),
                              const std::function<Outcome(history::Unkept)> &change) const;

    Dialogs &dialogs;
    const Clock &clock;
    QString root;
    std::shared_ptr<Vault> vault;
    // What the pages show, for repeated text searches; a stored page is forgotten.
    textsearch::TextCache texts;
    std::shared_ptr<DraftWriter> draftWriter = std::make_shared<DraftWriter>();
    // How far a draft may lag behind the typing.
    std::chrono::milliseconds draftDelay{1000};
};
