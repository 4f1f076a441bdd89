#include "health/FrmHealth.h"

FrmHealth::FrmHealth(SharedState& state, Navigator& navigator) : RegisterWindow(state, navigator, Register::Health) {}
