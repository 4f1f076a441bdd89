#include "journal/FrmJournal.h"

FrmJournal::FrmJournal(SharedState& state, Navigator& navigator) : RegisterWindow(state, navigator, Register::Journal) {}
