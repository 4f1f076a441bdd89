#include "datepicker/FrmDateEntry.h"

#include "platform/Controls.h"
#include "platform/Fonts.h"
#include "platform/FormWindow.h"
#include "platform/PictureControl.h"
#include "platform/Twips.h"
#include "records/SharedState.h"

#include <QCalendarWidget>
#include <QCloseEvent>
#include <QScreen>

using controls::place;

FrmDateEntry::FrmDateEntry(SharedState& state, QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::MSWindowsFixedSizeDialogHint),
      m_state(state)
{
    setObjectName(QStringLiteral("frmDateEntry"));
    setWindowTitle(QStringLiteral("SELECT A DATE TO USE"));
    setModal(true);
    setFixedSize(twips::size(5775, 3600));
    controls::setBackground(this, colours::Peach);

    Image1 = place(new PictureControl(this), "Image1", twips::rect(120, 0, 1695, 2775));
    Calendar1 = place(new QCalendarWidget(this), "Calendar1", twips::rect(1920, 0, 3735, 2895));
    Calendar1->setFont(fonts::comic(8.25, false));
    Calendar1->setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
    Calendar1->setGridVisible(true);
    controls::setBackground(Calendar1, colours::Peach);
    // Four-digit years only, so that the date text is always 8 to 10 characters.
    Calendar1->setDateRange(QDate(1000, 1, 1), QDate(9999, 12, 31));
    imgOk = place(new PictureControl(this), "imgOk", twips::rect(1500, 2880, 1215, 615));
    imgClose = place(new PictureControl(this), "imgClose", twips::rect(3060, 2880, 1215, 615));
    Image1->setAccessibleName(QStringLiteral("Doggie"));
    Calendar1->setAccessibleName(windowTitle());
    imgOk->setTip(QStringLiteral("OK"));
    imgClose->setTip(QStringLiteral("CLOSE"));
    imgOk->setKey(QKeySequence(Qt::ALT | Qt::Key_O));
    imgClose->setKey(QKeySequence(Qt::ALT | Qt::Key_C));
    imgOk->setCursor(Qt::PointingHandCursor);
    imgClose->setCursor(Qt::PointingHandCursor);
    connect(imgOk, &PictureControl::clicked, this, &FrmDateEntry::imgOk_Click);
    connect(imgClose, &PictureControl::clicked, this, &FrmDateEntry::imgClose_Click);
}

QString FrmDateEntry::dateText(const QDate& date)
{
    return QStringLiteral("%1-%2-%3").arg(date.month()).arg(date.day()).arg(date.year());
}

void FrmDateEntry::Form_Load()
{
    loadUiPicture(m_state, Image1, QStringLiteral("doggie.gif"));
    loadUiPicture(m_state, imgOk, QStringLiteral("doggie-ok.gif"));
    loadUiPicture(m_state, imgClose, QStringLiteral("doggie-close.gif"));
    const QDate today = QDate::currentDate();
    Calendar1->setCurrentPage(today.year(), today.month());
    Calendar1->setSelectedDate(today);
    Calendar1->setFocus();
}

void FrmDateEntry::imgOk_Click()
{
    m_state.SelectedDate = dateText(Calendar1->selectedDate());
    finish();
}

void FrmDateEntry::imgClose_Click()
{
    m_state.SelectedDate.clear();
    finish();
}

void FrmDateEntry::finish()
{
    m_closing = true;
    done(QDialog::Accepted);
}

void FrmDateEntry::reject()
{
    if (m_closing)
        QDialog::reject();
}

void FrmDateEntry::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (const QScreen* s = screen()) {
        const QRect area = s->geometry();
        move(area.x() + (area.width() - frameGeometry().width()) / 2,
             area.y() + (area.height() - frameGeometry().height()) / 2);
    }
}

void FrmDateEntry::closeEvent(QCloseEvent* event)
{
    if (m_closing)
        event->accept();
    else
        event->ignore();
}
