#pragma once

#include <QByteArray>
#include <QString>

// Fixed-width text fields: left-justified, padded with spaces, cut to width.
namespace fixedtext {

// The W bytes a value is stored as.
QByteArray toField(const QString& value, int width);

// The value as the field holds it after storing: exactly W characters.
QString fit(const QString& value, int width);

// Spaces only are trimmed, at both ends or at the end alone: no other
// character counts as blank.
QString trimSpaces(const QString& value);
QString trimEnd(const QString& value);
bool isBlank(const QString& value);

// A field as it is shown or used as a name: up to its first NUL character,
// trimmed of spaces. An erased slot's NULs name nothing.
QString shown(const QString& value);

} // namespace fixedtext
