#pragma once

#include <QDialog>

struct SharedState;
class PictureControl;
class QCalendarWidget;

// The modal date picker: a month calendar on today. OK hands the chosen day
// back in SelectedDate as month-day-year without leading zeros; the close
// picture, and the title bar's close, hand back the empty text. Escape and
// Enter do nothing.
class DatePickerDialog : public QDialog {
    Q_OBJECT
public:
    DatePickerDialog(SharedState& state, QWidget* owner);

    void load();

    // Month-day-year without leading zeros: 7-4-2005, 12-25-2005.
    static QString dateText(const QDate& date);

private:
    void imgOk_Click();
    void imgClose_Click();

    PictureControl* doggiePicture;
    QCalendarWidget* calendar;
    PictureControl* imgOk;
    PictureControl* imgClose;

public slots:
    void reject() override; // Escape and the like change nothing

protected:
    void showEvent(QShowEvent* event) override;

    void finish();

    SharedState& m_state;
};
