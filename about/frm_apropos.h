#pragma once

#include "shared_window.h"

#include <QWidget>

#include <array>

class QPushButton;
class QTimer;

namespace kaleno {

class PictureBox;

/// The About window: version and author panels beside a space picture on which three small
/// squares orbit and leave coloured trails. One shared instance (see show()); loading it builds
/// the design and runs Form_Load; "OK" and the close box unload it.
class FrmAPropos : public QWidget
{
    Q_OBJECT

public:
    /// Loads the window over `owner`, which it is centred on when shown (the screen when null),
    /// as far as the screen's free area allows.
    explicit FrmAPropos(QWidget *owner = nullptr);

    /// The About command: shows the one About window, loading it first when it is not loaded.
    /// While it is shown, nothing changes.
    static FrmAPropos &showShared(QWidget *owner);

    /// The loaded About window, or null.
    static FrmAPropos *loadedShared();

    // The orbit angles in radians, written by the load handler and the timer handler only.
    double OrbitAngle1 = 0.0;
    double OrbitAngle2 = 0.0;
    double OrbitAngle3 = 0.0;

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private slots:
    void CmdOKApropos_Click();
    void TmrAPropos_Timer();

private:
    void buildDesign();
    void Form_Load();
    void Form_Unload();
    void unload(); // the close box or "OK": Form_Unload, once

    // Destroyed without an unload (its owner went first), it goes without its unload handler.
    WindowLoad<FrmAPropos> m_load {this};
    QWidget *m_owner = nullptr;
    bool m_placed = false;

    QPushButton *CmdOKApropos = nullptr;
    PictureBox *PBFond = nullptr;
    PictureBox *PB1 = nullptr;
    PictureBox *PB2 = nullptr;
    PictureBox *PB3 = nullptr;
    QTimer *TmrAPropos = nullptr;
};

} // namespace kaleno
