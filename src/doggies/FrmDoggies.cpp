#include "doggies/FrmDoggies.h"

FrmDoggies::FrmDoggies(SharedState& state, Navigator& navigator) : RegisterWindow(state, navigator, Register::Doggies) {}
