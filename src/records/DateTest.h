#pragma once

#include <QDate>
#include <QString>

#include <optional>

// Whether a typed text is a calendar date, the way the US-English date test of
// the old platform judged it. The program stores the text as typed; this only
// says whether it may be stored. `today` gives the year of a date typed
// without one.
//
// Numbers and English month names (full or three letters, any case), with at
// most two '/' or '-' between the parts; blanks and commas are skipped. Three
// numbers are tried as m/d/y, y/m/d, y/d/m and d/m/y; two as m/d or d/m of this
// year, else m/y or y/m. Years below 100 are windowed (00-29: 2000s, 30-99:
// 1900s). A time may follow the date; a time alone is no date.
bool isDate(const QString& text, const QDate& today = QDate::currentDate());

// The day a text names, read the way isDate reads it (the first reading that
// names a day wins); nullopt when the text is no date.
std::optional<QDate> dateOf(const QString& text, const QDate& today = QDate::currentDate());

// A date text as a date field of `width` characters keeps it: as typed when
// cutting it to the width loses nothing but spaces; otherwise, when it is a
// date, that day as m/d/yyyy ("September 9, 2004" becomes "9/9/2004"), so that
// a long date is never cut into another date. A text that is no date comes
// back as it is.
QString fitDate(const QString& text, int width, const QDate& today = QDate::currentDate());
