// kaleno-draw-pictures <folder>: draws the program's pictures and writes them into the folder.

#include "colour_reduction.h"
#include "picture_files.h"
#include "pictures.h"

#include <QDir>
#include <QGuiApplication>
#include <QStringList>

#include <cstdio>

using namespace kaleno;

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    const QStringList arguments = QGuiApplication::arguments();
    if (arguments.size() != 2) {
        std::fprintf(stderr, "usage: kaleno-draw-pictures <folder>\n");
        return 2;
    }
    const QDir folder(arguments.at(1));
    if (!folder.exists()) {
        std::fprintf(
            stderr, "kaleno-draw-pictures: %s: no such folder\n", qPrintable(arguments.at(1)));
        return 2;
    }

    QString error;
    const QString success = folder.filePath(QStringLiteral("success.bmp"));
    const QString space = folder.filePath(QStringLiteral("space.bmp"));
    const QString icon = folder.filePath(QStringLiteral("kaleno.ico"));
    const bool written = writeTrueColourBmp(drawSuccessTile(), success, &error)
        && writePaletteBmp(reduceColours(drawSpaceScene()), space, &error)
        && writePaletteIcon(reduceColours(drawFolderIcon()), icon, &error);
    if (!written) {
        std::fprintf(stderr, "kaleno-draw-pictures: %s\n", qPrintable(error));
        return 1;
    }
    for (const QString &path : {success, space, icon})
        std::printf("%s\n", qPrintable(QDir::toNativeSeparators(path)));
    return 0;
}
