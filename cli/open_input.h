#pragma once

#include "options.h"

#include <string>

namespace kaleno {

/// An input by its name, open for reading.
struct Input
{
    std::string name; ///< as the messages give it: "<stdin>" for standard input
    int descriptor = -1;
    std::string error; ///< why it cannot be read: it is then neither read nor closed
};

/// Opens the input `file` for reading; "-" is standard input, left open afterwards.
Input openInput(const std::string &file, const RunOptions &options);

} // namespace kaleno
