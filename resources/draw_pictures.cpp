// kaleno-draw-pictures <folder>: draws the program's pictures and writes them into the folder,
// with the icon set a desktop installs under <folder>/icons/hicolor.

#include "colour_reduction.h"
#include "folder_icon.h"
#include "picture_files.h"
#include "pictures.h"

#include "kaleno_version.h"

#include <QDir>
#include <QGuiApplication>
#include <QStringList>

#include <array>
#include <cstdio>

using namespace kaleno;

namespace {

constexpr std::array IconSizes {16, 32, 48, 64, 128, 256};

// The desktop's icon theme looks for <size>/apps/<name>.png and scalable/apps/<name>.svg.
bool writeIconSet(const QDir &folder, QStringList *written, QString *error)
{
    const QString theme = QStringLiteral("icons/hicolor");
    const QString name = QStringLiteral(KALENO_APP_ID);
    auto place = [&](const QString &sizeFolder, const QString &extension) -> QString {
        const QString apps = QStringLiteral("%1/%2/apps").arg(theme, sizeFolder);
        if (!folder.mkpath(apps)) {
            *error = QStringLiteral("%1: cannot create the folder").arg(folder.filePath(apps));
            return {};
        }
        return folder.filePath(QStringLiteral("%1/%2.%3").arg(apps, name, extension));
    };
    for (const int size : IconSizes) {
        const QString path = place(QStringLiteral("%1x%1").arg(size), QStringLiteral("png"));
        if (path.isEmpty()
            || !writeRgbaPng(renderVectorPicture(folderIconPicture(size), size), path, error))
            return false;
        written->append(path);
    }
    const QString path = place(QStringLiteral("scalable"), QStringLiteral("svg"));
    if (path.isEmpty() || !writeSvg(folderIconPicture(ScalableIcon), IconSizes.back(), path, error))
        return false;
    written->append(path);
    return true;
}

} // namespace

int main(int argc, char *argv[])
{
    // It only draws into images: no display needed.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
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
    QStringList written {success, space, icon};
    // The icon file keeps a drawing of its own rather than the icon set's 32-pixel one, which
    // smooths a few corner pixels differently and would change the file's bytes.
    const bool allWritten = writeTrueColourBmp(drawSuccessTile(), success, &error)
        && writePaletteBmp(reduceColours(drawSpaceScene()), space, &error)
        && writePaletteIcon(reduceColours(drawFolderIcon()), icon, &error)
        && writeIconSet(folder, &written, &error);
    if (!allWritten) {
        std::fprintf(stderr, "kaleno-draw-pictures: %s\n", qPrintable(error));
        return 1;
    }
    for (const QString &path : written)
        std::printf("%s\n", qPrintable(QDir::toNativeSeparators(path)));
    return 0;
}
