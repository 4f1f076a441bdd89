#include "shell/Navigator.h"

#include "platform/FormWindow.h"

#include <QApplication>

Navigator::Navigator(SharedState& state) : m_state(state), m_quit([] { QCoreApplication::quit(); }) {}

void Navigator::setFactory(Screen screen, Factory factory)
{
    m_factories[screen] = std::move(factory);
}

void Navigator::setQuitAction(std::function<void()> action)
{
    m_quit = std::move(action);
}

FormWindow* Navigator::go(Screen target)
{
    if (m_current)
        m_current->unload();
    FormWindow* window = m_factories.at(target)(m_state, *this); // every screen is registered
    m_current = window;
    window->load();
    window->show();
    // The new window takes the keyboard, so that its keys work at once.
    window->raise();
    window->activateWindow();
    return window;
}

void Navigator::quit()
{
    if (m_current)
        m_current->unload();
    m_current = nullptr;
    m_quit();
}

bool Navigator::closeForSession()
{
    if (QApplication::activeModalWidget())
        return false; // a question or the date picker waits for its answer
    const QPointer<FormWindow> before = m_current;
    if (before)
        before->close(); // which does what the window's close control does
    return !before || m_current != before;
}

FormWindow* Navigator::current() const
{
    return m_current;
}
