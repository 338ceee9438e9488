#pragma once

namespace tool {

// A GUI application looks for a sandbox's marker in the runtime folder, and
// where cron, ssh or a root shell leave XDG_RUNTIME_DIR unset Qt warns of it on
// stderr, which carries the tool's own messages. That one warning is dropped;
// every other message goes where it went before.
void dropRuntimeFolderWarning();

} // namespace tool
