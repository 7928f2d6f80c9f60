#pragma once

#include "program_end.h"

#include <QPointer>
#include <QWidget>

namespace kaleno {

/// The one shared instance of a window class. The instance is made on first use and lives as
/// long as the program. Its window is loaded on demand: built from its design, with its load
/// handler run by its constructor; unloading destroys the window, and the next use loads a
/// fresh one from the design again.
///
/// `Window` is a QWidget whose constructor takes the owner window and loads the design, and
/// which destroys itself when it is unloaded.
template<typename Window>
class SharedWindow
{
public:
    static SharedWindow &instance()
    {
        static SharedWindow shared;
        return shared;
    }

    /// The loaded window, or null.
    Window *loaded() const { return m_window.data(); }

    /// Loads the window when it is not loaded.
    Window &load(QWidget *owner)
    {
        if (!m_window)
            m_window = new Window(owner);
        return *m_window;
    }

    /// Visible = True: loads the window if need be and shows it. A window already shown stays
    /// as it is.
    Window &show(QWidget *owner)
    {
        Window &window = load(owner);
        if (!window.isVisible())
            window.show();
        return window;
    }

private:
    template<typename>
    friend class WindowLoad;

    SharedWindow() = default;

    // The window unloads: from now on it is not the loaded window any more, even while its
    // deletion is still pending.
    void forget(const Window *window)
    {
        if (m_window == window)
            m_window.clear();
    }

    QPointer<Window> m_window;
};

/// A window's stay between its load and its unload, held as a member of the window: made when
/// the window loads, it counts the window among the program's loaded windows; unload() ends the
/// stay once, whatever asks for it (the close box, a command, the window's destruction).
template<typename Window>
class WindowLoad
{
public:
    explicit WindowLoad(const Window *window) : m_window(window) { windowLoaded(); }
    ~WindowLoad() { unload(); }
    WindowLoad(const WindowLoad &) = delete;
    WindowLoad &operator=(const WindowLoad &) = delete;

    /// The first call runs `unloadHandler`, then the shared instance lets go of the window and
    /// the program's count of loaded windows drops it (the last one ends the program). Later
    /// calls do nothing.
    template<typename Handler>
    void unload(Handler &&unloadHandler)
    {
        if (m_unloaded)
            return;
        m_unloaded = true;
        unloadHandler();
        SharedWindow<Window>::instance().forget(m_window);
        windowUnloaded();
    }

    /// Unloads without an unload handler.
    void unload()
    {
        unload([] {});
    }

private:
    const Window *m_window;
    bool m_unloaded = false;
};

} // namespace kaleno
