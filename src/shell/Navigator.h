#pragma once

#include "frame/ScreenRequests.h"

#include <QObject>
#include <QPointer>

#include <functional>
#include <map>

struct SharedState;
class FormWindow;

// One window at a time: going somewhere unloads the window the command came
// from and loads the target afresh. The program ends only through quit().
class Navigator : public QObject, public ScreenRequests {
    Q_OBJECT
public:
    using Factory = std::function<FormWindow*(SharedState&, Navigator&)>;

    explicit Navigator(SharedState& state);

    void setFactory(Screen screen, Factory factory);
    // What quit() does after unloading the window (the application's quit by default).
    void setQuitAction(std::function<void()> action);

    // Unloads the current window, then loads and shows the target.
    FormWindow* go(Screen target) override;
    void quit() override;
    // The session ends (a logout): the current window is closed as its title
    // bar's close would close it. False when it stays, because its person
    // said so or a dialog waits over it; the logout should then wait too.
    bool closeForSession();

    FormWindow* current() const;

private:
    SharedState& m_state;
    std::map<Screen, Factory> m_factories;
    std::function<void()> m_quit;
    QPointer<FormWindow> m_current;
};
