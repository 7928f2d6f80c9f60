#include "frm_apropos.h"

#include "design_builder.h"
#include "kaleno_version.h"
#include "orbit.h"
#include "picture_box.h"
#include "picture_paths.h"
#include "placement.h"
#include "program_end.h"
#include "shared_window.h"

#include <QCloseEvent>
#include <QPushButton>
#include <QScreen>
#include <QTimer>

#include <array>

namespace kaleno {

namespace {

using Kind = ControlKind;

constexpr Colour Panel = 0xEEF3F4; // red 244, green 243, blue 238
constexpr Colour Author = 0xEEF4F3; // red 243, green 244, blue 238: not quite the panel's
constexpr Colour LabelGrey = 0xE0E0E0;
constexpr Colour Black = 0x000000;
constexpr SystemColour Desktop = SystemColour::Desktop;

// The design, in twips. The window: its name, caption and icon, its client area, the size of its
// font and its background.
const WindowDesign WindowLook
    = {"FrmAPropos", "A Propos de Kaleno", pictures::programIcon(), 6915, 4140, 8, Panel};

// Its controls, in the order they are made. Only the button takes the keyboard.
const ControlDesign Controls[] = {
    {"CmdOKApropos", Kind::CommandButton, "", "OK", {60, 3720, 2715, 350}, 0,
        {.autoDefault = true, .accessibleDescription = "Ferme cette fenêtre"}},
    // The version panel: the success picture above the version label.
    {"Frame6", Kind::Frame, "", "Version du logiciel", {60, 60, 2715, 1935}, 1, {.back = Desktop}},
    {"Frame2", Kind::Frame, "Frame6", "", {60, 240, 2595, 1635}, 3, {.back = Panel}},
    {"Image6", Kind::Image, "Frame2", "", {720, 150, 1005, 1005}, NoTabIndex,
        {.picture = pictures::success, // its 70 pixels shown as 67
            .stretched = true,
            .accessibleName = "Grille souriante",
            .accessibleDescription = "Une tuile de bois portant une grille qui sourit"}},
    {"Label1", Kind::Label, "Frame2", "Version 1.10 - Juin 2010", {120, 1200, 2355, 315}, 4,
        {.back = LabelGrey, .alignment = Qt::AlignCenter, .border = true}},
    // The author panel: the author above the two addresses.
    {"Frame1", Kind::Frame, "", "Auteur et adresses", {60, 2040, 2715, 1635}, 2, {.back = Desktop}},
    {"Frame3", Kind::Frame, "Frame1", "", {60, 240, 2595, 1335}, 5, {.back = Panel}},
    {"Label4", Kind::Label, "Frame3", "Auteur : " KALENO_AUTHOR, {600, 180, 1635, 255}, 8,
        {.back = Author}},
    {"Label2", Kind::Label, "Frame3", "kaleno.example.org", {180, 480, 2295, 315}, 6,
        {.back = LabelGrey, .alignment = Qt::AlignCenter, .border = true}},
    {"Label3", Kind::Label, "Frame3", "example.net/kaleno", {180, 900, 2295, 315}, 7,
        {.back = LabelGrey, .alignment = Qt::AlignCenter, .border = true}},
    // The space picture and its three orbiting squares, each a plain square of its colour.
    {"Frame4", Kind::Frame, "", "", {2820, 60, 4035, 4035}, 9, {.back = Desktop}},
    {"PBFond", Kind::PictureBox, "Frame4", "", {120, 120, 3810, 3810}, 10,
        {.back = Black,
            .border = true,
            .picture = pictures::space,
            .accessibleName = "Planète en orbite",
            .accessibleDescription = "Trois petits carrés, jaune, rouge et vert, tournent autour "
                                     "d'une planète et laissent des traces"}},
    {"PB3", Kind::PictureBox, "PBFond", "", {3360, 600, 80, 80}, 11,
        {.back = Colour(0x00FF00), .accessibleName = "Carré vert"}},
    {"PB2", Kind::PictureBox, "PBFond", "", {1140, 420, 80, 80}, 12,
        {.back = Colour(0x0000FF), .accessibleName = "Carré rouge"}},
    {"PB1", Kind::PictureBox, "PBFond", "", {600, 660, 80, 80}, 13,
        {.back = Colour(0x00FFFF), .accessibleName = "Carré jaune"}},
};

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
    DesignBuilder design(this, this, WindowLook);
    design.build(Controls);
    design.chainTabOrder();
    CmdOKApropos = design.control<QPushButton>("CmdOKApropos");
    PBFond = design.control<PictureBox>("PBFond");
    PB1 = design.control<PictureBox>("PB1");
    PB2 = design.control<PictureBox>("PB2");
    PB3 = design.control<PictureBox>("PB3");
    TmrAPropos = new QTimer(this);
    TmrAPropos->setObjectName(QStringLiteral("TmrAPropos"));
    TmrAPropos->setInterval(100);

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
