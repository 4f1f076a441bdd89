#pragma once

#include "frame/RegisterWindow.h"

#include <QList>

#include <optional>

class QLabel;
class QLineEdit;
struct DoggieRecord;

// The dog register: the dogs' particulars and picture, added, edited and
// erased with the two-click bones.
class DogRegisterWindow : public RegisterWindow {
    Q_OBJECT
public:
    DogRegisterWindow(SharedState& state, ScreenRequests& screens);

    void load() override;

private:
    void ShowDoggie();
    void ClearFields();
    void LockFields();
    void UnlockFields();
    // Copies the boxes into `record`, every box as typed (an empty box empties
    // its field).
    void StoreDoggie(DoggieRecord& record) const;

    void imgAdd_Click() override;
    void imgEdit_Click() override;
    void imgErase_Click() override;
    void imgDoggiePic_Click();

    QLabel* lblName;
    QLabel* lblPedigreeName;
    QLabel* lblBirthDate;
    QLabel* lblLicenseNo;
    QLabel* lblCameFrom;
    QLabel* lblVetName;
    QLabel* lblVetPhoneNo;
    QLabel* lblVetAddress;
    QLabel* lblVetEmergencyNo;
    QLabel* lblGroomerName;
    QLabel* lblGroomerPhoneNo;
    QLineEdit* txtName;
    QLineEdit* txtPedigreeName;
    QLineEdit* txtBirthDate;
    QLineEdit* txtLicenseNo;
    QLineEdit* txtCameFrom;
    QLineEdit* txtVetName;
    QLineEdit* txtVetAddress;
    QLineEdit* txtVetPhoneNo;
    QLineEdit* txtVetEmergencyNo;
    QLineEdit* txtGroomerName;
    QLineEdit* txtGroomerPhoneNo;
    PictureControl* imgDoggiePic;

    static const QString EntryStatus;

protected:
    void doggieSelected() override;

    // The boxes and the picture chosen since the command began.
    QStringList entryTexts() const override;

private:
    // Whether the boxes cannot be saved as they stand; the keyboard then goes
    // to the box to put right.
    bool saveRefused();
    // "Delete Rex, with its 2 vaccinations and 1 journal entry!"
    QString eraseQuestion(const DoggieRecord& dog);
    // Erases dog k with its vaccinations and journal entries; false, with a
    // message saying what was and was not erased, when a file fails.
    bool eraseWithItsRecords(qint32 k, const QString& name);

    QList<QLineEdit*> m_boxes; // in the order of the record's fields
    // The dog the window shows (0 for none): the one picked in this window's
    // list, or just added or saved here. Edit and Erase act on it alone.
    qint32 m_shown = 0;
    std::optional<QString> m_chosenPicture; // chosen since the dog was shown or Add began
    QString m_chooserName;                  // the file name the chooser keeps while the window is open
};
