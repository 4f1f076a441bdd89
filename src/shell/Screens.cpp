#include "shell/Screens.h"

#include "doggies/DogRegisterWindow.h"
#include "health/HealthWindow.h"
#include "journal/JournalWindow.h"
#include "reports/ReportViewer.h"
#include "shell/MainWindow.h"
#include "shell/Navigator.h"

void registerScreens(Navigator& navigator)
{
    navigator.setFactory(Screen::Main, [](SharedState& s, Navigator& n) { return new MainWindow(s, n); });
    navigator.setFactory(Screen::Doggies, [](SharedState& s, Navigator& n) { return new DogRegisterWindow(s, n); });
    navigator.setFactory(Screen::Health, [](SharedState& s, Navigator& n) { return new HealthWindow(s, n); });
    navigator.setFactory(Screen::Journal, [](SharedState& s, Navigator& n) { return new JournalWindow(s, n); });
    navigator.setFactory(Screen::ReportViewer, [](SharedState& s, Navigator& n) { return new ReportViewer(s, n); });
}
