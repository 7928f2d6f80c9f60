// kaleno-soak [ROUNDS]: the windows, used over and over as a user would. Each round writes the
// sample puzzle, solves it, clears the grid, opens the About window, lets it tick, and closes it
// by "OK" or by its close box in turn. Widgets and objects alive after a round must be as many
// as after the first; any difference, or a message box (a solve that failed), ends it with
// status 1.

#include "form_sudoku.h"
#include "frm_apropos.h"
#include "message_box.h"

#include <QAbstractAnimation>
#include <QApplication>
#include <QPushButton>

#include <cstdio>
#include <cstdlib>

using namespace kaleno;

namespace {

// Every widget, and every object in a window. The style's own animations are left out: they
// run on their own clock and end by themselves.
long liveObjects()
{
    long count = QApplication::allWidgets().size();
    for (QWidget *window : QApplication::topLevelWidgets()) {
        for (QObject *object : window->findChildren<QObject *>())
            count += qobject_cast<QAbstractAnimation *>(object) ? 0 : 1;
    }
    return count;
}

void click(QWidget *window, const char *button)
{
    window->findChild<QPushButton *>(button)->click();
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const int rounds = argc > 1 ? std::atoi(argv[1]) : 300;
    setMessageBoxHandler([](QWidget *, const QString &prompt, MessageBoxStyle, const QString &) {
        std::fprintf(stderr, "unexpected message box: %s\n", qPrintable(prompt));
        std::exit(1);
    });

    auto *main = new FormSudoku;
    main->show();
    long afterFirst = 0;
    for (int round = 1; round <= rounds; ++round) {
        QMetaObject::invokeMethod(main, "Command1_Click");
        click(main, "Cmd_Resolution");
        click(main, "Cmd_Effacer");
        click(main, "CmdAPropos");
        FrmAPropos *about = FrmAPropos::loadedShared();
        for (int tick = 0; tick < 5; ++tick)
            QMetaObject::invokeMethod(about, "TmrAPropos_Timer");
        round % 2 == 0 ? click(about, "CmdOKApropos") : void(about->close());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents();
        const long alive = liveObjects();
        afterFirst = round == 1 ? alive : afterFirst;
        if (alive != afterFirst || FrmAPropos::loadedShared()) {
            std::fprintf(stderr, "round %d: %ld objects alive, %ld after round 1\n", round, alive,
                afterFirst);
            return 1;
        }
    }
    std::printf("%d rounds: %ld objects alive after each\n", rounds, afterFirst);
    delete main;
    return 0;
}
