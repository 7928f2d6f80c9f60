#pragma once

#include "runtime_error.h"

namespace kaleno::testing {

/// The number of the RuntimeError that `call` throws, or 0 when it returns normally.
template<typename Call>
int runtimeErrorOf(Call &&call)
{
    try {
        call();
    } catch (const RuntimeError &error) {
        return error.number();
    }
    return 0;
}

} // namespace kaleno::testing
