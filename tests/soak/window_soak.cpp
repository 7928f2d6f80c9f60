// kaleno-soak [ROUNDS]: the windows, used over and over as a user would. Each round writes the
// sample puzzle, solves it, clears the grid, opens the About window, lets it tick, and closes it
// by "OK" or by its close box in turn. Widgets and objects alive after a round must be as many
// as after the first; any difference, or a wrong result, ends it with status 1.

#include "form_sudoku.h"
#include "frm_apropos.h"
#include "message_box.h"

#include <QAbstractAnimation>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <cstdio>
#include <cstdlib>

#include <malloc.h>

using namespace kaleno;

namespace {

// Everything alive that the program made: top-level windows with all their descendants. The
// style's own animations are left out: they run on their own clock and end by themselves.
long liveObjects()
{
    long count = 0;
    for (QWidget *window : QApplication::topLevelWidgets()) {
        ++count;
        for (QObject *object : window->findChildren<QObject *>())
            count += qobject_cast<QAbstractAnimation *>(object) ? 0 : 1;
    }
    return count;
}

bool round(FormSudoku &main, int number)
{
    QMetaObject::invokeMethod(&main, "Command1_Click");
    main.findChild<QPushButton *>(QStringLiteral("Cmd_Resolution"))->click();
    if (!main.findChild<QLabel *>(QStringLiteral("LblFin"))->isVisibleTo(&main)
        || main.findChild<QLineEdit *>(QStringLiteral("TxtS_80"))->text() != QLatin1String("4"))
        return false;
    main.findChild<QPushButton *>(QStringLiteral("Cmd_Effacer"))->click();
    if (!main.findChild<QLineEdit *>(QStringLiteral("TxtS_80"))->text().isEmpty())
        return false;

    main.findChild<QPushButton *>(QStringLiteral("CmdAPropos"))->click();
    FrmAPropos *about = FrmAPropos::loadedShared();
    if (!about)
        return false;
    for (int tick = 0; tick < 5; ++tick)
        QMetaObject::invokeMethod(about, "TmrAPropos_Timer");
    if (number % 2 == 0)
        about->findChild<QPushButton *>(QStringLiteral("CmdOKApropos"))->click();
    else
        about->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return !FrmAPropos::loadedShared();
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    const int rounds = argc > 1 ? std::atoi(argv[1]) : 300;
    setMessageBoxHandler([](QWidget *, const QString &prompt, MessageBoxStyle, const QString &) {
        std::fprintf(stderr, "unexpected message box: %s\n", qPrintable(prompt));
        std::exit(1);
    });

    auto *main = new FormSudoku;
    main->show();
    long objectsAfterFirst = 0;
    long widgetsAfterFirst = 0;
    std::size_t heapAfterFirst = 0;
    for (int number = 1; number <= rounds; ++number) {
        if (!round(*main, number)) {
            std::fprintf(stderr, "round %d: the windows did not do what they should\n", number);
            return 1;
        }
        QCoreApplication::processEvents();
        const long objects = liveObjects();
        const long widgets = QApplication::allWidgets().size();
        if (number == 1) {
            objectsAfterFirst = objects;
            widgetsAfterFirst = widgets;
            heapAfterFirst = mallinfo2().uordblks;
        } else if (objects != objectsAfterFirst || widgets != widgetsAfterFirst) {
            std::fprintf(stderr,
                "round %d: %ld objects and %ld widgets alive, %ld and %ld after round 1\n", number,
                objects, widgets, objectsAfterFirst, widgetsAfterFirst);
            return 1;
        }
    }
    std::printf("%d rounds: %ld objects and %ld widgets alive after each", rounds,
        objectsAfterFirst, widgetsAfterFirst);
    if (heapAfterFirst > 0) // zero where a checker stands in for the allocator
        std::printf("; heap in use %zu KB after round 1, %zu KB after round %d",
            heapAfterFirst / 1024, mallinfo2().uordblks / 1024, rounds);
    std::printf("\n");
    delete main;
    return 0;
}
