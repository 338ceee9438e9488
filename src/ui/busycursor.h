#pragma once

// The arrow with hourglass while a command works, and the plain arrow again.
// Like the commands' own steps, this sets the cursor rather than stacking it.
void showBusyCursor();
void showNormalCursor();
