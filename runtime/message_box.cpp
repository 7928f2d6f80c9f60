#include "message_box.h"

#include <QMessageBox>

#include <utility>

namespace kaleno {

namespace {

MessageBoxHandler &handler()
{
    static MessageBoxHandler installed;
    return installed;
}

struct DialogStyle
{
    QMessageBox::Icon icon;
    QMessageBox::StandardButtons buttons;
};

DialogStyle dialogStyle(MessageBoxStyle style)
{
    switch (style) {
    case MessageBoxStyle::Critical:
        return {QMessageBox::Critical, QMessageBox::Ok};
    }
    Q_UNREACHABLE();
    return {QMessageBox::NoIcon, QMessageBox::Ok};
}

} // namespace

void messageBox(QWidget *parent, const QString &prompt, MessageBoxStyle style, const QString &title)
{
    if (handler()) {
        handler()(parent, prompt, style, title);
        return;
    }
    const DialogStyle dialog = dialogStyle(style);
    QMessageBox box(dialog.icon, title, prompt, dialog.buttons, parent);
    box.exec();
}

void setMessageBoxHandler(MessageBoxHandler replacement)
{
    handler() = std::move(replacement);
}

} // namespace kaleno
