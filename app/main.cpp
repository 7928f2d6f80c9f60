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
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

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

QtMessageHandler qtMessages = nullptr;

// Qt ends the program with a fatal message when it finds no display to open a window on: that
// message becomes one that says what to do, and the status that of a command not followed.
void withoutDisplay(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (type != QtFatalMsg) {
        qtMessages(type, context, message);
        return;
    }
    std::fputs("kaleno: no display found; run it in a desktop session, or in a virtual display"
               " (xvfb-run kaleno)\n",
        stderr);
    std::_Exit(2);
}

} // namespace

int main(int argc, char *argv[])
{
    using namespace kaleno;
    // What the command line asks for is known, and what is wrong with it said, before Qt looks
    // for a display.
    const StartRequest request = readCommandLine(argumentsOf(argc, argv));
    if (request.action != StartRequest::Action::Open)
        return answer(request);

    qtMessages = qInstallMessageHandler(withoutDisplay);
    QApplication app(argc, argv); // takes the display's own options out of argv
    qInstallMessageHandler(qtMessages);

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
