#pragma once

#include "colour.h"
#include "ui_style.h"

#include <QHash>
#include <QString>
#include <QWidget>

#include <optional>
#include <span>
#include <utility>
#include <variant>
#include <vector>

namespace kaleno {

/// The kinds of control the windows' designs are made of.
enum class ControlKind {
    Frame, ///< a Frame: a caption in an etched outline
    CommandButton, ///< a QPushButton
    Label, ///< a QLabel
    Image, ///< a QLabel showing a picture
    PictureBox, ///< a PictureBox; its children are placed in its drawing area
    TextBox, ///< a QLineEdit: one line, no length limit
    Shape, ///< a SeparatorBar
};

/// A colour of a design: none of the control's own (its kind's default), a colour of the
/// desktop's scheme, which follows the scheme, or a value.
using DesignColour = std::variant<std::monostate, SystemColour, Colour>;

/// A control's outer rectangle in twips, in its container's client area.
struct TwipsRect
{
    int left, top, width, height;
};

/// A window's own design.
struct WindowDesign
{
    QString name;
    QString caption;
    QString icon; ///< the path of the window's icon
    int width, height; ///< of the client area, in twips
    double fontPoints; ///< the size of the design font, for every control that gives none
    DesignColour back;
};

/// What a control of a design has besides its place: each as its kind has it unless given.
struct ControlStyle
{
    double fontPoints = 0; ///< 0: the window's font
    DesignColour back = {};
    std::optional<Colour> text = {}; ///< a label's; without it, text on a value stays readable
    Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter; ///< a label's or text box's text
    bool border = false; ///< a label's single border, a picture box's sunken 3-D border
    bool visible = true;
    bool autoDefault = false; ///< a button's: Enter clicks it while it has the focus
    QString (*picture)(qreal devicePixelRatio) = nullptr; ///< an image's or a picture box's
    bool stretched = false; ///< an image's picture scaled to the box, not at natural size
    QString accessibleName = {};
    QString accessibleDescription = {};
};

/// A control's tab index when it has none.
constexpr int NoTabIndex = -1;

/// One control of a window's design, its columns as a design table has them.
// NOLINTNEXTLINE(clang-analyzer-optin.performance.Padding): in the order of the design's tables
struct ControlDesign
{
    QString name;
    ControlKind kind;
    QString container; ///< the name of a control of an earlier row; empty for the client area
    QString caption; ///< of a frame, a button or a label
    TwipsRect twips;
    int tabIndex;
    ControlStyle style = {};
};

/// Builds a window from its design: the window's own, then its controls row by row, then the
/// tab order.
class DesignBuilder
{
public:
    /// Gives `window` its own design; `client` is its client area, the window itself or the
    /// widget in it that the controls go into.
    DesignBuilder(QWidget *window, QWidget *client, const WindowDesign &design);

    /// Builds the control of a row into its container, which an earlier row built.
    QWidget *build(const ControlDesign &row);
    void build(std::span<const ControlDesign> rows);

    /// The control that the row of this name built.
    template<typename Control>
    Control *control(const QString &name) const
    {
        return qobject_cast<Control *>(m_controls.value(name));
    }

    /// Chains the tab order of the controls that take the focus and are visible, by their tab
    /// index; the first of them has the focus when the window is shown.
    void chainTabOrder();

private:
    QWidget *m_client;
    QHash<QString, QWidget *> m_controls;
    std::vector<std::pair<int, QWidget *>> m_tabIndices;
};

} // namespace kaleno
