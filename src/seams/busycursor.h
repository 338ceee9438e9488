#pragma once

// The arrow with hourglass while a command works. Only the outermost guard
// sets it, so a command that calls another never stacks cursors, and the
// cursor comes back however the command ends.
class BusyCursor
{
public:
    BusyCursor();
    ~BusyCursor();
    BusyCursor(const BusyCursor &) = delete;
    BusyCursor &operator=(const BusyCursor &) = delete;

private:
    bool m_set = false;
};
