#pragma once

#include "seams/program.h"

// Counts the calls to end() instead of ending the test.
class RecordingProgram final : public Program
{
public:
    void end() override { ++m_ends; }
    bool ended() const { return m_ends > 0; }
    int endCount() const { return m_ends; }

private:
    int m_ends = 0;
};
