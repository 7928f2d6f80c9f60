#pragma once

#include "grid.h"

#include <optional>
#include <string>
#include <vector>

namespace kaleno {

/// What kaleno is asked for on its command line.
struct StartRequest
{
    enum class Action {
        Open, ///< open the window, with `givens` typed into the cells when there are some
        Print, ///< print `text` (the help or the version) and end
        Fail, ///< print `text`, why the command line cannot be followed, and end with status 2
    };
    Action action = Action::Open;
    std::optional<Grid> givens;
    std::string text;
};

/// Reads kaleno's arguments, the program's name first: nothing, --help, --version, or one GRID
/// or FILE, with the display's own options (-style, -platform ...) passed over, so that it can
/// be read before Qt looks for a display. An argument that names an existing file is a file,
/// whose first grid is taken; any other is read as one grid. Grids are read as firstGrid reads
/// them.
StartRequest readCommandLine(const std::vector<std::string> &arguments);

} // namespace kaleno
