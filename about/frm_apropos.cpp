#include "frm_apropos.h"

#include "frame.h"
#include "kaleno_version.h"
#include "orbit.h"
#include "picture_box.h"
#include "picture_paths.h"
#include "placement.h"
#include "program_end.h"
#include "shared_window.h"
#include "twips.h"
#include "ui_style.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTimer>

namespace kaleno {

namespace {

constexpr Colour PanelColour = 0xEEF3F4; // red 244, green 243, blue 238
constexpr Colour AuthorColour = 0xEEF4F3; // red 243, green 244, blue 238: not quite the panel's
constexpr Colour LabelColour = 0xE0E0E0;

// The window's client area, in twips.
constexpr int ClientWidth = 6915;
constexpr int ClientHeight = 4140;

// A frame on the system colour desktop; an inner panel is given its own colour afterwards.
Frame *makeFrame(QWidget *container, const char *name, const QString &caption, const QRect &twips)
{
    auto *frame = new Frame(caption, container);
    frame->setObjectName(QLatin1String(name));
    frame->setGeometry(twipsRect(twips.x(), twips.y(), twips.width(), twips.height()));
    frame->setBackgroundRole(paletteRole(SystemColour::Desktop));
    return frame;
}

// A label with a single sunken border (bordered) or none, opaque, its text readable on it.
QLabel *makeLabel(QWidget *container, const char *name, const QString &text, const QRect &twips,
    Colour back, Qt::Alignment alignment, bool bordered)
{
    auto *label = new QLabel(text, container);
    label->setObjectName(QLatin1String(name));
    label->setGeometry(twipsRect(twips.x(), twips.y(), twips.width(), twips.height()));
    label->setAlignment(alignment | Qt::AlignVCenter);
    if (bordered)
        label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setBackColour(label, toQColor(back));
    keepTextReadable(label);
    return label;
}

// One of the three orbiting squares: a plain square of its colour, no border, no picture.
PictureBox *makeSquare(PictureBox *container, const char *name, int left, int top, Colour colour)
{
    auto *square = new PictureBox(container);
    square->setObjectName(QLatin1String(name));
    square->resize(twipsToPixels(80), twipsToPixels(80));
    square->setBackColour(colour);
    container->moveChild(square, left, top);
    return square;
}

} // namespace

FrmAPropos::FrmAPropos(QWidget *owner)
    : QWidget(owner,
        Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      m_owner(owner)
{
    setAttribute(Qt::WA_DeleteOnClose);
    buildDesign();
    Form_Load();
}

FrmAPropos &FrmAPropos::showShared(QWidget *owner)
{
    return SharedWindow<FrmAPropos>::instance().show(owner);
}

FrmAPropos *FrmAPropos::loadedShared()
{
    return SharedWindow<FrmAPropos>::instance().loaded();
}

void FrmAPropos::buildDesign()
{
    setObjectName(QStringLiteral("FrmAPropos"));
    setWindowTitle(QStringLiteral("A Propos de Kaleno"));
    setWindowIcon(QIcon(pictures::programIcon()));
    setFixedSize(twipsToPixels(ClientWidth), twipsToPixels(ClientHeight));
    setFont(designFont(8));
    setBackColour(this, toQColor(PanelColour));

    const QColor panel = toQColor(PanelColour);

    CmdOKApropos = new QPushButton(QStringLiteral("OK"), this);
    CmdOKApropos->setObjectName(QStringLiteral("CmdOKApropos"));
    CmdOKApropos->setGeometry(twipsRect(60, 3720, 2715, 350));
    CmdOKApropos->setAutoDefault(true); // Enter clicks it while it has the focus
    CmdOKApropos->setAccessibleDescription(QStringLiteral("Ferme cette fenêtre"));

    // The version panel: the success picture above the version label.
    Frame6 = makeFrame(this, "Frame6", QStringLiteral("Version du logiciel"), {60, 60, 2715, 1935});
    Frame2 = makeFrame(Frame6, "Frame2", QString(), {60, 240, 2595, 1635});
    setBackColour(Frame2, panel);
    Image6 = new QLabel(Frame2);
    Image6->setObjectName(QStringLiteral("Image6"));
    Image6->setGeometry(twipsRect(720, 150, 1005, 1005));
    Image6->setScaledContents(true); // the 70-pixel picture shown as 67
    Image6->setPixmap(QPixmap(pictures::success(Image6->devicePixelRatioF())));
    Image6->setAccessibleName(QStringLiteral("Grille souriante"));
    Image6->setAccessibleDescription(
        QStringLiteral("Une tuile de bois portant une grille qui sourit"));
    Label1 = makeLabel(Frame2, "Label1", QStringLiteral("Version 1.10 - Juin 2010"),
        {120, 1200, 2355, 315}, LabelColour, Qt::AlignHCenter, true);

    // The author panel: the author above the two addresses.
    Frame1
        = makeFrame(this, "Frame1", QStringLiteral("Auteur et adresses"), {60, 2040, 2715, 1635});
    Frame3 = makeFrame(Frame1, "Frame3", QString(), {60, 240, 2595, 1335});
    setBackColour(Frame3, panel);
    Label4 = makeLabel(Frame3, "Label4", QStringLiteral("Auteur : " KALENO_AUTHOR),
        {600, 180, 1635, 255}, AuthorColour, Qt::AlignLeft, false);
    Label2 = makeLabel(Frame3, "Label2", QStringLiteral("kaleno.example.org"),
        {180, 480, 2295, 315}, LabelColour, Qt::AlignHCenter, true);
    Label3 = makeLabel(Frame3, "Label3", QStringLiteral("example.net/kaleno"),
        {180, 900, 2295, 315}, LabelColour, Qt::AlignHCenter, true);

    // The space picture and its three orbiting squares.
    Frame4 = makeFrame(this, "Frame4", QString(), {2820, 60, 4035, 4035});
    PBFond = new PictureBox(Frame4);
    PBFond->setObjectName(QStringLiteral("PBFond"));
    PBFond->setGeometry(twipsRect(120, 120, 3810, 3810));
    PBFond->setBackColour(0x000000);
    PBFond->setSunkenBorder(true);
    PBFond->setPicture(QImage(pictures::space(PBFond->devicePixelRatioF())));
    PBFond->setAccessibleName(QStringLiteral("Planète en orbite"));
    PBFond->setAccessibleDescription(
        QStringLiteral("Trois petits carrés, jaune, rouge et vert, tournent autour d'une planète "
                       "et laissent des traces"));
    PB3 = makeSquare(PBFond, "PB3", 3360, 600, 0x00FF00);
    PB2 = makeSquare(PBFond, "PB2", 1140, 420, 0x0000FF);
    PB1 = makeSquare(PBFond, "PB1", 600, 660, 0x00FFFF);
    PB1->setAccessibleName(QStringLiteral("Carré jaune"));
    PB2->setAccessibleName(QStringLiteral("Carré rouge"));
    PB3->setAccessibleName(QStringLiteral("Carré vert"));

    TmrAPropos = new QTimer(this);
    TmrAPropos->setObjectName(QStringLiteral("TmrAPropos"));
    TmrAPropos->setInterval(100);

    // Only the button takes the keyboard: the frames, labels and pictures have no use for it.
    for (QWidget *passive : std::initializer_list<QWidget *> {PBFond, PB1, PB2, PB3})
        passive->setFocusPolicy(Qt::NoFocus);
    CmdOKApropos->setFocus();

    connect(CmdOKApropos, &QPushButton::clicked, this, &FrmAPropos::CmdOKApropos_Click);
    connect(TmrAPropos, &QTimer::timeout, this, &FrmAPropos::TmrAPropos_Timer);
}

void FrmAPropos::Form_Load()
{
    OrbitAngle1 = Orbits[0].loadAngle;
    OrbitAngle2 = Orbits[1].loadAngle;
    OrbitAngle3 = Orbits[2].loadAngle;
    TmrAPropos->start();
}

void FrmAPropos::Form_Unload()
{
    TmrAPropos->stop();
}

void FrmAPropos::showEvent(QShowEvent *event)
{
    // Centred on the owner, or on the screen, the first time it is shown after loading, and
    // wholly on the owner's screen. The frame holds the title bar and borders, where known.
    if (!m_placed) {
        m_placed = true;
        const QRect available = (m_owner ? m_owner : this)->screen()->availableGeometry();
        move(centredInside(
            m_owner ? m_owner->frameGeometry() : available, frameGeometry().size(), available));
    }
    QWidget::showEvent(event);
}

void FrmAPropos::closeEvent(QCloseEvent *event)
{
    // The close box: unload, and WA_DeleteOnClose destroys the window.
    unload();
    event->accept();
}

void FrmAPropos::CmdOKApropos_Click()
{
    hide();
    unload();
    deleteLater();
}

void FrmAPropos::unload()
{
    m_load.unload([this] { Form_Unload(); });
}

void FrmAPropos::TmrAPropos_Timer()
{
    runUntrapped([this] {
        const int h = halfSize(PBFond->scaleHeight());
        const int w = halfSize(PBFond->scaleWidth());
        const std::array<double *, 3> angles = {&OrbitAngle1, &OrbitAngle2, &OrbitAngle3};
        const std::array<PictureBox *, 3> squares = {PB1, PB2, PB3};
        static_assert(angles.size() == Orbits.size());
        for (std::size_t i = 0; i < angles.size(); ++i) {
            const OrbitTick tick = tickOrbit(Orbits[i], *angles[i], w, h);
            squares[i]->setVisible(tick.visible);
            if (tick.visible)
                PBFond->line(
                    tick.trail.x, tick.trail.y, tick.point.x, tick.point.y, Orbits[i].colour);
            PBFond->moveChild(squares[i], tick.point.x, tick.point.y);
        }
    });
}

} // namespace kaleno
