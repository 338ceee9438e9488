#include "program.h"

#include <cstdio>
#include <cstdlib>

void SystemProgram::end()
{
    // std::exit would run the destructors of statics while the application
    // and its windows are still alive; the program has nothing to tidy.
    std::fflush(nullptr);
    std::_Exit(EXIT_SUCCESS);
}
