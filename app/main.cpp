// kaleno: the desktop program. No command line, no files: the main window, and what the user
// types and clicks into it.

#include "form_sudoku.h"
#include "kaleno_version.h"
#include "picture_paths.h"
#include "shared_window.h"

#include <QApplication>
#include <QIcon>
#include <QPointer>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral(KALENO_PRODUCT_NAME));
    QApplication::setApplicationVersion(QStringLiteral(KALENO_VERSION_TEXT));
    QGuiApplication::setDesktopFileName(QStringLiteral(KALENO_APP_ID));
    QApplication::setWindowIcon(QIcon(kaleno::pictures::programIcon()));
    // The program ends when none of its windows is loaded any more; the runtime sees to that.
    QApplication::setQuitOnLastWindowClosed(false);

    // The main window outlives its own close box, for the sake of the About window it owns; it
    // goes when the program ends.
    QPointer<kaleno::FormSudoku> mainWindow
        = &kaleno::SharedWindow<kaleno::FormSudoku>::instance().show(nullptr);
    const int status = QApplication::exec();
    delete mainWindow;
    return status;
}
