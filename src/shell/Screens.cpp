#include "shell/Screens.h"

#include "doggies/FrmDoggies.h"
#include "health/FrmHealth.h"
#include "journal/FrmJournal.h"
#include "reports/FrmReportViewer.h"
#include "shell/FrmMain.h"
#include "shell/Navigator.h"

void registerScreens(Navigator& navigator)
{
    navigator.setFactory(Screen::Main, [](SharedState& s, Navigator& n) { return new FrmMain(s, n); });
    navigator.setFactory(Screen::Doggies, [](SharedState& s, Navigator& n) { return new FrmDoggies(s, n); });
    navigator.setFactory(Screen::Health, [](SharedState& s, Navigator& n) { return new FrmHealth(s, n); });
    navigator.setFactory(Screen::Journal, [](SharedState& s, Navigator& n) { return new FrmJournal(s, n); });
    navigator.setFactory(Screen::ReportViewer, [](SharedState& s, Navigator& n) { return new FrmReportViewer(s, n); });
}
