#include "datepicker/DatePickerDialog.h"

#include "platform/Controls.h"
#include "platform/Fonts.h"
#include "platform/FormWindow.h"
#include "platform/PictureControl.h"
#include "platform/Prompts.h"
#include "platform/Twips.h"
#include "records/SharedState.h"

#include <QCalendarWidget>
#include <QScreen>

using controls::place;

DatePickerDialog::DatePickerDialog(SharedState& state, QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::MSWindowsFixedSizeDialogHint),
      m_state(state)
{
    setObjectName(QStringLiteral("DatePickerDialog"));
    routeClose(this, [this] { imgClose_Click(); }); // the title bar's close is Close
    setWindowTitle(QStringLiteral("SELECT A DATE TO USE"));
    setModal(true); // its icon is its owner's
    setFixedSize(twips::size(5775, 3600));
    controls::setBackground(this, colours::Peach);

    doggiePicture = place(new PictureControl(this), "doggiePicture", twips::rect(120, 0, 1695, 2775));
    calendar = place(new QCalendarWidget(this), "calendar", twips::rect(1920, 0, 3735, 2895));
    calendar->setFont(fonts::comic(8.25, false));
    calendar->setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
    calendar->setGridVisible(true);
    controls::setBackground(calendar, colours::Peach);
    // Four-digit years only, so that the date text is always 8 to 10 characters.
    calendar->setDateRange(QDate(1000, 1, 1), QDate(9999, 12, 31));
    imgOk = place(new PictureControl(this), "imgOk", twips::rect(1500, 2880, 1215, 615));
    imgClose = place(new PictureControl(this), "imgClose", twips::rect(3060, 2880, 1215, 615));
    doggiePicture->setAccessibleName(QStringLiteral("Doggie"));
    calendar->setAccessibleName(windowTitle());
    imgOk->setTip(QStringLiteral("OK"));
    imgClose->setTip(QStringLiteral("CLOSE"));
    imgOk->setKey(QKeySequence(Qt::ALT | Qt::Key_O));
    imgClose->setKey(QKeySequence(Qt::ALT | Qt::Key_C));
    connect(imgOk, &PictureControl::clicked, this, &DatePickerDialog::imgOk_Click);
    connect(imgClose, &PictureControl::clicked, this, &DatePickerDialog::imgClose_Click);
}

QString DatePickerDialog::dateText(const QDate& date)
{
    return QStringLiteral("%1-%2-%3").arg(date.month()).arg(date.day()).arg(date.year());
}

void DatePickerDialog::load()
{
    loadUiPicture(m_state, doggiePicture, QStringLiteral("doggie.gif"));
    loadUiPicture(m_state, imgOk, QStringLiteral("doggie-ok.gif"));
    loadUiPicture(m_state, imgClose, QStringLiteral("doggie-close.gif"));
    const QDate today = QDate::currentDate();
    calendar->setCurrentPage(today.year(), today.month()); // today is chosen already
    calendar->setFocus();
}

void DatePickerDialog::imgOk_Click()
{
    m_state.SelectedDate = dateText(calendar->selectedDate());
    finish();
}

void DatePickerDialog::imgClose_Click()
{
    m_state.SelectedDate.clear();
    finish();
}

void DatePickerDialog::finish()
{
    done(QDialog::Accepted); // which sends no close event
    returnKeyboard(parentWidget());
}

void DatePickerDialog::reject() {}

void DatePickerDialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (const QScreen* s = screen())
        placeWhole(this, s->availableGeometry(), centred(s->availableGeometry(), size() + frameExtra(this)));
}
