#include "design_builder.h"

#include "frame.h"
#include "picture_box.h"
#include "separator_bar.h"
#include "twips.h"

#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <algorithm>
#include <limits>

namespace kaleno {

namespace {

// The control of the row's kind, with what only that kind has.
QWidget *makeControl(const ControlDesign &row, QWidget *container)
{
    const ControlStyle &style = row.style;
    switch (row.kind) {
    case ControlKind::Frame:
        return new Frame(row.caption, container);
    case ControlKind::CommandButton: {
        auto *button = new QPushButton(row.caption, container);
        button->setAutoDefault(style.autoDefault);
        return button;
    }
    case ControlKind::Label: {
        auto *label = new QLabel(row.caption, container);
        label->setAlignment(style.alignment);
        if (style.border)
            label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        return label;
    }
    case ControlKind::Image: {
        auto *image = new QLabel(container);
        const qreal ratio = image->devicePixelRatioF();
        image->setScaledContents(style.stretched);
        image->setPixmap(style.stretched
                ? QPixmap(style.picture(ratio))
                : QPixmap::fromImage(pictureForRatio(QImage(style.picture(ratio)), ratio)));
        return image;
    }
    case ControlKind::PictureBox: {
        auto *box = new PictureBox(container);
        if (style.border)
            box->setSunkenBorder(true);
        if (style.picture)
            box->setPicture(QImage(style.picture(box->devicePixelRatioF())));
        return box;
    }
    case ControlKind::TextBox: {
        auto *box = new QLineEdit(container);
        box->setMaxLength(std::numeric_limits<int>::max());
        box->setAlignment(style.alignment);
        return box;
    }
    case ControlKind::Shape:
        return new SeparatorBar(container);
    }
    return nullptr;
}

// A system colour is a role of the palette, so that it follows the scheme when it changes; a
// value is painted.
void setBack(QWidget *widget, const DesignColour &back)
{
    if (const auto *role = std::get_if<SystemColour>(&back))
        widget->setBackgroundRole(paletteRole(*role));
    else if (const auto *value = std::get_if<Colour>(&back))
        setBackColour(widget, toQColor(*value));
}

// A value is a picture box's own colour, and the base colour of a text box, which its text is
// written on. The text of a label or a text box stays readable on a value, unless the design
// gives a label's text colour.
void setDesignBack(QWidget *control, ControlKind kind, const ControlStyle &style)
{
    const auto *value = std::get_if<Colour>(&style.back);
    if (value && kind == ControlKind::PictureBox)
        static_cast<PictureBox *>(control)->setBackColour(*value);
    else if (value && kind == ControlKind::TextBox)
        setTextBoxBackColour(control, toQColor(*value));
    else
        setBack(control, style.back);
    if (value && kind == ControlKind::Label && !style.text)
        keepTextReadable(control);
}

} // namespace

DesignBuilder::DesignBuilder(QWidget *window, QWidget *client, const WindowDesign &design)
    : m_client(client)
{
    window->setObjectName(design.name);
    window->setWindowTitle(design.caption);
    window->setWindowIcon(QIcon(design.icon));
    window->setFont(designFont(design.fontPoints));
    client->setFixedSize(twipsToPixels(design.width), twipsToPixels(design.height));
    setBack(client, design.back);
    client->setAutoFillBackground(true);
}

QWidget *DesignBuilder::build(const ControlDesign &row)
{
    QWidget *container = row.container.isEmpty() ? m_client : m_controls.value(row.container);
    Q_ASSERT_X(container, "DesignBuilder::build", "a container comes before its controls");
    QWidget *control = makeControl(row, container);
    control->setObjectName(row.name);
    const TwipsRect &at = row.twips;
    if (const auto *box = qobject_cast<PictureBox *>(container)) {
        control->resize(twipsToPixels(at.width), twipsToPixels(at.height));
        box->moveChild(control, at.left, at.top);
    } else {
        control->setGeometry(twipsRect(at.left, at.top, at.width, at.height));
    }

    const ControlStyle &style = row.style;
    if (style.fontPoints > 0)
        control->setFont(designFont(style.fontPoints));
    setDesignBack(control, row.kind, style);
    if (style.text) {
        QPalette palette = control->palette();
        palette.setColor(QPalette::WindowText, toQColor(*style.text));
        control->setPalette(palette);
    }
    if (!style.visible)
        control->setVisible(false);
    if (!style.accessibleName.isEmpty())
        control->setAccessibleName(style.accessibleName);
    if (!style.accessibleDescription.isEmpty())
        control->setAccessibleDescription(style.accessibleDescription);

    if (row.tabIndex != NoTabIndex)
        m_tabIndices.emplace_back(row.tabIndex, control);
    m_controls.insert(row.name, control);
    return control;
}

void DesignBuilder::build(std::span<const ControlDesign> rows)
{
    for (const ControlDesign &row : rows)
        build(row);
}

void DesignBuilder::chainTabOrder()
{
    std::ranges::stable_sort(m_tabIndices, {}, &std::pair<int, QWidget *>::first);
    std::vector<QWidget *> chain;
    for (const auto &[index, control] : m_tabIndices) {
        if ((control->focusPolicy() & Qt::TabFocus) && !control->isHidden())
            chain.push_back(control);
    }
    for (std::size_t i = 1; i < chain.size(); ++i)
        QWidget::setTabOrder(chain[i - 1], chain[i]);
    if (!chain.empty())
        chain.front()->setFocus();
}

} // namespace kaleno
