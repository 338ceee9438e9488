#pragma once

// Ending the program. A test hands in one that only records the call, so
// callers return right after end() and run nothing more either way.
class Program
{
public:
    virtual ~Program() = default;
    virtual void end() = 0;
};

// Stops the process at once with exit status 0: no window handler, event,
// destructor or exit handler runs after it. Our files are closed by then,
// since every command closes its own; stdio buffers are flushed first.
class SystemProgram final : public Program
{
public:
    [[noreturn]] void end() override;
};
