#pragma once

#include "shell/RegisterWindow.h"

class FrmJournal : public RegisterWindow {
    Q_OBJECT
public:
    FrmJournal(SharedState& state, Navigator& navigator);
};
