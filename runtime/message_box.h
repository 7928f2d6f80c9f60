#pragma once

#include <QString>

#include <functional>

class QWidget;

namespace kaleno {

/// Message box styles: the sum of a buttons value and an icon value.
constexpr int MessageBoxOkOnly = 0;
constexpr int MessageBoxCritical = 16; ///< the critical icon

/// Shows a modal message box over `parent` with `prompt`, `title`, and the buttons and icon of
/// `style`. The answer is not read.
void messageBox(QWidget *parent, const QString &prompt, int style, const QString &title);

/// What a message box does instead of showing itself: tests record the message here. An empty
/// handler brings the real dialog back.
using MessageBoxHandler
    = std::function<void(QWidget *parent, const QString &prompt, int style, const QString &title)>;
void setMessageBoxHandler(MessageBoxHandler replacement);

} // namespace kaleno
