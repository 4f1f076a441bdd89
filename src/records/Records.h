#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>

// The three record types: each is both the byte layout of a record in its file
// and the one working record of that type. Text fields always hold exactly
// their width in characters, padding included. Records.cpp lays out each
// type's fields once, in one table.

// Where a vaccination or a journal entry keeps the number of its dog.
constexpr int DoggieIdOffset = 4;

// A dog's particular is a member here, its width and place in the file in
// kDoggieFields (Records.cpp), its box in the dog register's kBoxes and its
// line in BuildDoggieReport: one row in each table.
struct DoggieRecord {
    static constexpr int Length = 439;
    static constexpr int NameOffset = 4;
    static constexpr int NameWidth = 40;
    static constexpr int BirthDateWidth = 10;
    static constexpr int PhoneWidth = 15;
    static constexpr int PictureWidth = 100;

    qint32 ID = 0;
    QString Name;
    QString PedigreeName;
    QString BirthDate;
    QString LicenseNo;
    QString CameFrom;
    QString VetName;
    QString VetAddress;
    QString VetPhoneNo;
    QString VetEmergencyNo;
    QString GroomerName;
    QString GroomerPhoneNo;
    QString Picture;

    DoggieRecord(); // every text field blank (spaces)
    static int widthOf(QString DoggieRecord::*field);
    QByteArray toBytes() const;
    static DoggieRecord fromBytes(const QByteArray& bytes);
    bool operator==(const DoggieRecord&) const = default;
};

struct HealthRecord {
    static constexpr int Length = 68;
    static constexpr int DateGivenWidth = 10;
    static constexpr int VaccineWidth = 50;

    qint32 ID = 0;
    qint32 DoggieID = 0;
    QString DateGiven;
    QString Vaccine;

    HealthRecord();
    QByteArray toBytes() const;
    static HealthRecord fromBytes(const QByteArray& bytes);
    bool operator==(const HealthRecord&) const = default;
};

struct JournalRecord {
    static constexpr int Length = 4114;
    static constexpr int EntryDateWidth = 10;
    static constexpr int EntryWidth = 4096;

    qint32 ID = 0;
    qint32 DoggieID = 0;
    QString EntryDate;
    QString Entry;

    JournalRecord();
    QByteArray toBytes() const;
    static JournalRecord fromBytes(const QByteArray& bytes);
    bool operator==(const JournalRecord&) const = default;
};

// Little-endian 32-bit integers, as the files hold them.
qint32 readInt32(const char* bytes, int offset);
inline qint32 readInt32(const QByteArray& bytes, int offset)
{
    return readInt32(bytes.constData(), offset);
}
void writeInt32(QByteArray& bytes, int offset, qint32 value);
