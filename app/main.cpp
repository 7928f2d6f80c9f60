// kaleno: the desktop program. The main window, and what the user types and clicks into it;
// on the command line, a grid or a file whose first grid is typed into the cells at start.

#include "command_line.h"
#include "form_sudoku.h"
#include "kaleno_version.h"
#include "picture_paths.h"
#include "shared_window.h"

#include <QApplication>
#include <QIcon>
#include <QPointer>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace {

std::vector<std::string> argumentsOf(int argc, char *argv[])
{
    return {argv, argv + argc};
}

// Prints what the command line asks for, or why it cannot be followed: the exit status.
int answer(const kaleno::StartRequest &request)
{
    if (request.action == kaleno::StartRequest::Action::Print) {
        if (std::fputs(request.text.c_str(), stdout) >= 0 && std::fflush(stdout) == 0)
            return 0;
        std::fprintf(stderr, "kaleno: cannot write to standard output: %s\n", std::strerror(errno));
        return 2;
    }
    std::fprintf(stderr, "kaleno: %s\n", request.text.c_str());
    return 2;
}

} // namespace

int main(int argc, char *argv[])
{
    using namespace kaleno;
    // The help and the version need no display: they are printed before Qt looks for one.
    if (asksForTextOnly(argumentsOf(argc, argv)))
        return answer(readCommandLine(argumentsOf(argc, argv)));

    QApplication app(argc, argv); // takes the display's own options out of argv
    const StartRequest request = readCommandLine(argumentsOf(argc, argv));
    if (request.action != StartRequest::Action::Open)
        return answer(request);

    QApplication::setApplicationName(QStringLiteral(KALENO_PRODUCT_NAME));
    QApplication::setApplicationVersion(QStringLiteral(KALENO_VERSION_TEXT));
    QGuiApplication::setDesktopFileName(QStringLiteral(KALENO_APP_ID));
    QApplication::setWindowIcon(QIcon(pictures::programIcon()));
    // The program ends when none of its windows is loaded any more; the runtime sees to that.
    QApplication::setQuitOnLastWindowClosed(false);

    // The main window outlives its own close box, for the sake of the About window it owns; it
    // goes when the program ends.
    QPointer<FormSudoku> mainWindow = &SharedWindow<FormSudoku>::instance().show(nullptr);
    if (request.givens)
        mainWindow->typeGivens(*request.givens);
    const int status = QApplication::exec();
    delete mainWindow;
    return status;
}
