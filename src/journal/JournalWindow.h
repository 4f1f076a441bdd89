#pragma once

#include "frame/RegisterWindow.h"

class QLabel;
class QListWidget;
class QPlainTextEdit;

// The journal: the dates of a dog's entries and the entry chosen, added
// through the date picker, edited and erased with the bones.
class JournalWindow : public RegisterWindow {
    Q_OBJECT
public:
    JournalWindow(SharedState& state, ScreenRequests& screens);

private:
    void LoadDates();
    void ShowEntry();
    void LockEntry();
    void UnlockEntry();
    // Fills the workingJournal's date, dog and text (ID untouched).
    void StoreEntry(const QString& entryDate);

    void lbDates_Click();
    void imgAdd_Click() override;
    void imgEdit_Click() override;
    void imgErase_Click() override;

    // The entry box's text as stored (line breaks as CR LF), and back.
    static QString toStored(const QString& boxText);
    static QString toShown(const QString& stored);
    QString entryText() const;

    QLabel* lblDate;
    QListWidget* lbDates;
    QLabel* lblEntry;
    QPlainTextEdit* txtEntry;

    static const QString EntryStatus;

protected:
    void doggieSelected() override;

private:
    QString readDoggieName();
    // Whether the entry cannot be saved as it stands (blank, characters the
    // file cannot hold, too long); the keyboard then goes back to the box.
    bool saveRefused();

    // The entry chosen in lbDates or just added (0 for none): Edit and Erase
    // act on it alone.
    qint32 m_chosen = 0;
    QString m_chosenDate; // the chosen entry's own date, as stored
    QString m_addDate;    // the date given for the entry being added
};
