// kaleno-shot WINDOW SECONDS OUT.png: opens one of the program's windows on the current
// display, lets it run for SECONDS, and saves what the screen shows around it. Run it in a
// virtual display with scripts/screenshot.

#include "about/frm_apropos.h"

#include <QApplication>
#include <QPixmap>
#include <QScreen>
#include <QTimer>

#include <cstdio>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("kaleno"));
    const QStringList arguments = QApplication::arguments();
    bool ok = arguments.size() == 4;
    const double seconds = ok ? arguments[2].toDouble(&ok) : 0;
    if (!ok || arguments[1] != QLatin1String("about")) {
        std::fprintf(stderr, "usage: kaleno-shot about SECONDS OUT.png\n");
        return 2;
    }
    const QString output = arguments[3];

    QWidget *window = &kaleno::FrmAPropos::showShared(nullptr);
    QTimer::singleShot(static_cast<int>(seconds * 1000), [&] {
        // The window and a margin of desktop around it: title bar and all, if a window
        // manager draws one.
        const QRect area = window->frameGeometry().adjusted(-16, -16, 16, 16);
        const QPixmap shot = window->screen()->grabWindow(0, area.x(), area.y(), area.width(), area.height());
        if (!shot.save(output)) {
            std::fprintf(stderr, "kaleno-shot: cannot write %s\n", qPrintable(output));
            QApplication::exit(1);
            return;
        }
        QApplication::quit();
    });
    return QApplication::exec();
}
