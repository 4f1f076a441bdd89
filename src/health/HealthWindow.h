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
    void ShowHealthItem();
    void StoreHealthItem(HealthRecord& record) const;
    void ClearFields();

    void vaccinationGrid_Click();
    void imgAdd_Click() override;
    void imgEdit_Click() override;
    void imgErase_Click() override;

    FlexGrid* vaccinationGrid;
    QLabel* lblDateGiven;
    QLabel* lblVaccine;
    QLineEdit* txtdate;
    QLineEdit* txtvaccine;

    static const QString EntryStatus;

protected:
    void doggieSelected() override;

private:
    // Whether the boxes cannot be saved as they stand (a date that is no
    // date, a blank vaccine); the keyboard then goes to the box to put right.
    bool saveRefused();

    // Whether HealthRecNo is a row the user chose in the grid of the dog now
    // picked: Edit and Erase act on nothing else.
    bool m_rowChosen = false;
    QString m_chosenVaccine; // the chosen record's vaccine as stored
    qint32 m_gridDoggie = 0; // the dog the grid lists
};
