#pragma once

#include <QString>

#include <functional>

class QWidget;

namespace kaleno {

/// The style of a message box: its buttons and its icon. The values are the runtime's style
/// numbers, the sum of a buttons value and an icon value.
enum class MessageBoxStyle {
    Critical = 16, ///< the OK button alone (0) and the critical icon (16)
};

/// Shows a modal message box over `parent` with `prompt`, `title`, and the buttons and icon of
/// `style`. The answer is not read.
void messageBox(
    QWidget *parent, const QString &prompt, MessageBoxStyle style, const QString &title);

/// What a message box does instead of showing itself: tests record the message here. An empty
/// handler brings the real dialog back.
using MessageBoxHandler = std::function<void(
    QWidget *parent, const QString &prompt, MessageBoxStyle style, const QString &title)>;
void setMessageBoxHandler(MessageBoxHandler replacement);

} // namespace kaleno
