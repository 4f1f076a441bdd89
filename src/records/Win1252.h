#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// Text in the record files and in report.txt is one byte per character in
// Windows-1252. Qt 6 has no codec for it, so this is our own table.
namespace win1252 {

// One byte per code point; what the code page cannot hold becomes '?'.
QByteArray encode(const QString& text);
QString decode(const QByteArray& bytes);

// The characters of `text` that the code page cannot hold, each once, in the
// order they first appear (a character outside the BMP whole).
QStringList unstorable(const QString& text);

// The character a byte stands for. The five bytes that Windows-1252 leaves
// undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) decode to the control characters of
// the same number, as Windows itself does, so every byte survives a round trip.
char16_t toUnicode(unsigned char byte);

} // namespace win1252
