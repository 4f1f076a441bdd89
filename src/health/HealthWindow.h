#pragma once

#include "frame/RegisterWindow.h"

class FlexGrid;
class QLabel;
class QLineEdit;
struct HealthRecord;

// The health register: a dog's vaccinations in a grid sorted on the date text,
// added, edited and erased with the bones.
class HealthWindow : public RegisterWindow {
    Q_OBJECT
public:
    HealthWindow(SharedState& state, ScreenRequests& screens);

    void load() override;

private:
    // Rebuilds the grid for DoggieRecNo and sorts it on the date text.
    void LoadHealthGrid();
    void ShowHealthItem(const HealthRecord& record);
    void StoreHealthItem(HealthRecord& record) const;
    void ClearFields();
    void vaccinationGrid_Click();

    FlexGrid* vaccinationGrid;
    QLineEdit* txtdate;
    QLineEdit* txtvaccine;

protected:
    // The health register's parts of the commands: Edit and Erase act on the
    // row chosen in the grid of the dog picked; a date that is no date, or a
    // blank vaccine, is refused at its box.
    REGISTER_PARTS

private:
    qint32 m_chosen = 0; // the record of the row chosen in the grid, 0 for none
};
