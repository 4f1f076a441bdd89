#pragma once

#include "shell/RegisterWindow.h"

class FrmDoggies : public RegisterWindow {
    Q_OBJECT
public:
    FrmDoggies(SharedState& state, Navigator& navigator);
};
