#pragma once

#include <functional>

class Dialogs;
class Frmpicture;

namespace picture {

// Asks for a picture file and hands the picture to the picture window at
// scale 1, which it then shows. `window` makes the window on first use.
// Cancelling the file dialog ends it quietly; an unreadable file is
// reported and leaves the window as it was.
void AddPicture(Dialogs &dialogs, const std::function<Frmpicture &()> &window);

} // namespace picture
