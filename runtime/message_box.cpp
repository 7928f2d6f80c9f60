#include "message_box.h"

#include <QMessageBox>

namespace kaleno {

namespace {

MessageBoxHandler &handler()
{
    static MessageBoxHandler installed;
    return installed;
}

QMessageBox::Icon iconOf(int style)
{
    switch (style & 0x70) {
    case 16:
        return QMessageBox::Critical;
    case 32:
        return QMessageBox::Question;
    case 48:
        return QMessageBox::Warning;
    case 64:
        return QMessageBox::Information;
    default:
        return QMessageBox::NoIcon;
    }
}

} // namespace

void messageBox(QWidget *parent, const QString &prompt, int style, const QString &title)
{
    if (handler()) {
        handler()(parent, prompt, style, title);
        return;
    }
    // Only the OK button is ever asked for.
    QMessageBox box(iconOf(style), title, prompt, QMessageBox::Ok, parent);
    box.exec();
}

void setMessageBoxHandler(MessageBoxHandler replacement)
{
    handler() = std::move(replacement);
}

} // namespace kaleno
