// kaleno-solve: the window's solve command over files of grids.

#include "options.h"
#include "solve_run.h"

#include <QCoreApplication>

#include <csignal>
#include <cstdio>

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace {

bool isOpen(int descriptor)
{
    return fcntl(descriptor, F_GETFD) != -1 || errno != EBADF;
}

// Before anything opens a file: a closed standard descriptor would be handed to that file, and
// the answers written into it. Without standard output there is no point in going on; a closed
// input or error stream is given /dev/null in its place.
bool standardStreamsReady()
{
    if (!isOpen(STDOUT_FILENO)) {
        if (isOpen(STDERR_FILENO))
            std::fputs(
                "kaleno-solve: cannot write the answers: standard output is closed\n", stderr);
        return false;
    }
    for (int descriptor : {STDIN_FILENO, STDERR_FILENO}) {
        if (!isOpen(descriptor)) {
            const int null = open("/dev/null", descriptor == STDIN_FILENO ? O_RDONLY : O_WRONLY);
            if (null >= 0 && null != descriptor) {
                dup2(null, descriptor);
                close(null);
            }
        }
    }
    return true;
}

} // namespace

int main(int argc, char *argv[])
{
    using namespace kaleno;
    if (!standardStreamsReady())
        return UsageOrFileError;
    // A reader that goes away makes writes fail, and the run ends with a message, instead of
    // the signal killing it silently.
    std::signal(SIGPIPE, SIG_IGN);
    const QCoreApplication app(argc, argv); // for the arguments' encoding and the help text

    const ParsedCommandLine parsed = parseCommandLine(QCoreApplication::arguments(), usableCores());
    switch (parsed.action) {
    case ParsedCommandLine::Action::Print:
        std::fputs(parsed.text.c_str(), stdout);
        return AllRead;
    case ParsedCommandLine::Action::UsageError:
        std::fprintf(stderr, "kaleno-solve: %s\n", parsed.text.c_str());
        return UsageOrFileError;
    case ParsedCommandLine::Action::Run:
        break;
    }
    return runSolve(parsed.options);
}
