// kaleno-shot SECONDS FOLDER [SUFFIX]: starts Kaleno's main window on the current display,
// drives it as a user would (the sample puzzle, "Résoudre la grille", "A Propos"), lets the
// About window's animation run for SECONDS, and saves both windows as mainSUFFIX.png and
// aboutSUFFIX.png in FOLDER. Qt's own options (-style ...) may come first. Run it in a virtual
// display with scripts/screenshot.

#include "form_sudoku.h"
#include "frm_apropos.h"
#include "shared_window.h"

#include <QApplication>
#include <QDir>
#include <QPixmap>
#include <QPushButton>
#include <QTimer>

#include <cstdio>

namespace {

bool save(QWidget *window, const QDir &folder, const QString &name)
{
    const QString path = folder.filePath(name);
    if (window->grab().save(path))
        return true;
    std::fprintf(stderr, "kaleno-shot: cannot write %s\n", qPrintable(path));
    return false;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("kaleno"));
    QApplication::setQuitOnLastWindowClosed(false);
    const QStringList arguments = QApplication::arguments();
    bool ok = arguments.size() == 3 || arguments.size() == 4;
    const double seconds = ok ? arguments[1].toDouble(&ok) : 0;
    const QDir folder(ok ? arguments[2] : QString());
    const QString suffix = arguments.value(3);
    if (!ok || !folder.exists()) {
        std::fprintf(stderr, "usage: kaleno-shot SECONDS FOLDER [SUFFIX] (an existing folder)\n");
        return 2;
    }

    auto &main = kaleno::SharedWindow<kaleno::FormSudoku>::instance().show(nullptr);
    main.move(40, 40);
    QMetaObject::invokeMethod(&main, "Command1_Click"); // the hidden sample-puzzle button
    main.findChild<QPushButton *>(QStringLiteral("Cmd_Resolution"))->click();
    main.findChild<QPushButton *>(QStringLiteral("CmdAPropos"))->click();

    QTimer::singleShot(static_cast<int>(seconds * 1000), [&] {
        kaleno::FrmAPropos *about = kaleno::FrmAPropos::loadedShared();
        const bool saved = save(&main, folder, QStringLiteral("main%1.png").arg(suffix)) && about
            && save(about, folder, QStringLiteral("about%1.png").arg(suffix));
        QApplication::exit(saved ? 0 : 1);
    });
    const int status = QApplication::exec();
    delete &main;
    return status;
}
