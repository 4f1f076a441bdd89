#include "shell/Navigator.h"

#include "platform/FormWindow.h"

#include <QCoreApplication>

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

FormWindow* Navigator::current() const
{
    return m_current;
}
