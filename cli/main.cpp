// kaleno-solve: the window's solve command over files of grids.

#include "options.h"
#include "solve_run.h"

#include <QCoreApplication>

#include <csignal>
#include <cstdio>
#include <cstring>

#include <cerrno>
#include <fcntl.h>
#include <string>
#include <unistd.h>

namespace {

bool isOpen(int descriptor)
{
    return fcntl(descriptor, F_GETFD) != -1 || errno != EBADF;
}

// Before anything opens a file: a closed standard descriptor would be handed to that file, and
// the answers written into it. Without standard output there is no point in going on; a closed
// input or error stream is given /dev/null in its place (a closed input is then never read:
// `inputClosed` says so).
bool standardStreamsReady(bool &inputClosed)
{
    if (!isOpen(STDOUT_FILENO)) {
        if (isOpen(STDERR_FILENO))
            std::fputs(
                "kaleno-solve: cannot write the answers: standard output is closed\n", stderr);
        return false;
    }
    inputClosed = !isOpen(STDIN_FILENO);
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

// The help or the version, written out: a write that fails is a failure of the run.
bool printed(const std::string &text)
{
    if (std::fputs(text.c_str(), stdout) >= 0 && std::fflush(stdout) == 0)
        return true;
    std::fprintf(
        stderr, "kaleno-solve: cannot write to standard output: %s\n", std::strerror(errno));
    return false;
}

} // namespace

int main(int argc, char *argv[])
{
    using namespace kaleno;
    bool inputClosed = false;
    if (!standardStreamsReady(inputClosed))
        return UsageOrFileError;
    // A reader that goes away makes writes fail, and the run ends with a message, instead of
    // the signal killing it silently.
    std::signal(SIGPIPE, SIG_IGN);
    const QCoreApplication app(argc, argv); // for the arguments' encoding and the help text

    ParsedCommandLine parsed = parseCommandLine(QCoreApplication::arguments(), usableCores());
    switch (parsed.action) {
    case ParsedCommandLine::Action::Print:
        return printed(parsed.text) ? AllRead : UsageOrFileError;
    case ParsedCommandLine::Action::UsageError:
        std::fprintf(stderr, "kaleno-solve: %s\n", parsed.text.c_str());
        return UsageOrFileError;
    case ParsedCommandLine::Action::Run:
        break;
    }
    parsed.options.standardInputClosed = inputClosed;
    return runSolve(parsed.options);
}
