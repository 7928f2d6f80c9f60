#include "program_end.h"

#include "message_box.h"

#include <QApplication>

#include <cstdlib>
#include <utility>

namespace kaleno {

namespace {

std::function<void(int)> &endHandler()
{
    static std::function<void(int)> installed;
    return installed;
}

} // namespace

void endProgram(int status)
{
    if (endHandler()) {
        endHandler()(status);
        return;
    }
    if (QCoreApplication::instance())
        QCoreApplication::exit(status);
    else
        std::exit(status);
}

void setProgramEndHandler(std::function<void(int)> handler)
{
    endHandler() = std::move(handler);
}

namespace {
int loadedWindows = 0;
} // namespace

void windowLoaded()
{
    ++loadedWindows;
}

void windowUnloaded()
{
    if (--loadedWindows == 0)
        endProgram(0);
}

void endOnUntrappedError(const RuntimeError &error)
{
    messageBox(QApplication::activeWindow(), QString::fromUtf8(error.what()),
        MessageBoxStyle::Critical, QCoreApplication::applicationName());
    endProgram(1);
}

} // namespace kaleno
