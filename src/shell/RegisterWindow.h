#pragma once

#include "platform/FormWindow.h"
#include "shell/Navigator.h"

class ClickLabel;
class PictureControl;
class QFrame;
class QLabel;
class QListWidget;

// The frame the three register windows share: the dog list, the information
// panel, the five bones, the status line and the two navigation pictures,
// with the handlers for navigation, closing, printing and picking a dog.
class RegisterWindow : public FormWindow {
    Q_OBJECT
public:
    enum class Register { Doggies, Health, Journal };

    RegisterWindow(SharedState& state, Navigator& navigator, Register kind);

    // Loads the pictures, fills the dog list and shows the opening status.
    void Form_Load() override;

    void ShowStatus(const QString& text);
    // Refills the dog list from doggies.dat, one entry per record.
    void LoadDoggieList();

    QLabel* Label1;
    QListWidget* lbDoggieList;
    QLabel* Label2;
    QFrame* Shape1;
    PictureControl* imgAdd;
    PictureControl* imgEdit;
    PictureControl* imgErase;
    PictureControl* imgPrint;
    PictureControl* imgClose;
    QLabel* lblBar;
    PictureControl* Image6;
    PictureControl* Image7;
    ClickLabel* Label14;
    ClickLabel* Label15;

    static const QString ReadyStatus;

protected:
    // The register's own commands; the frame only wires the bones to them.
    virtual void imgAdd_Click() {}
    virtual void imgEdit_Click() {}
    virtual void imgErase_Click() {}
    // After the dog lookup found the clicked dog (DoggieRecNo and the working
    // DoggieRecord hold it, Label2 shows its name).
    virtual void doggieSelected() {}

    void lbDoggieList_Click();
    void imgPrint_Click();

    // Whether a dog was picked in this window's list since it opened and its
    // record, DoggieRecNo, is still a live dog in doggies.dat. A dog carried
    // over from another window, or erased since, is not.
    bool pickedDogIsLive();

private:
    Register m_kind;
    bool m_dogPicked = false;
    Navigator& m_navigator;
};
