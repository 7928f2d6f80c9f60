#pragma once

#include "runtime_error.h"

#include <functional>

namespace kaleno {

/// Ends the program at once: the event loop stops and no window's unload handler runs.
void endProgram(int status = 0);

/// What endProgram does instead, for tests. An empty handler brings the real end back.
void setProgramEndHandler(std::function<void(int status)> handler);

/// The program runs while at least one of its windows is loaded: each window says when it loads
/// and when it unloads, and the last unload ends the program. (Qt's own rule would end it when
/// the main window closes, even with the About window still open.)
void windowLoaded();
void windowUnloaded();

/// The runtime's answer to a run-time error that no handler traps: its message box (the
/// error's number and description), then the end of the program.
void endOnUntrappedError(const RuntimeError &error);

/// Runs an event handler that arms no error trap of its own.
template<typename Handler>
void runUntrapped(Handler &&handler)
{
    try {
        handler();
    } catch (const RuntimeError &error) {
        endOnUntrappedError(error);
    }
}

} // namespace kaleno
