#include "records/Records.h"

#include "records/FixedText.h"
#include "records/Win1252.h"

#include <QtEndian>

#include <span>

namespace {

// One field of a record, in the record's order: each starts where the one
// before it ends, so a field is added in one line.
template <typename R>
struct Field {
    int width; // 0 for a 32-bit integer
    qint32 R::*number;
    QString R::*text;
    constexpr int bytes() const { return width == 0 ? 4 : width; }
};

template <typename R>
constexpr Field<R> intField(qint32 R::*member)
{
    return {0, member, nullptr};
}

template <typename R>
constexpr Field<R> textField(int width, QString R::*member)
{
    return {width, nullptr, member};
}

using D = DoggieRecord;
constexpr Field<D> kDoggieFields[] = {
    intField<D>(&D::ID),
    textField<D>(D::NameWidth, &D::Name),
    textField<D>(40, &D::PedigreeName),
    textField<D>(D::BirthDateWidth, &D::BirthDate),
    textField<D>(40, &D::LicenseNo),
    textField<D>(40, &D::CameFrom),
    textField<D>(40, &D::VetName),
    textField<D>(40, &D::VetAddress),
    textField<D>(D::PhoneWidth, &D::VetPhoneNo),
    textField<D>(D::PhoneWidth, &D::VetEmergencyNo),
    textField<D>(40, &D::GroomerName),
    textField<D>(D::PhoneWidth, &D::GroomerPhoneNo),
    textField<D>(D::PictureWidth, &D::Picture),
};

using H = HealthRecord;
constexpr Field<H> kHealthFields[] = {
    intField<H>(&H::ID),
    intField<H>(&H::DoggieID),
    textField<H>(H::DateGivenWidth, &H::DateGiven),
    textField<H>(H::VaccineWidth, &H::Vaccine),
};

using J = JournalRecord;
constexpr Field<J> kJournalFields[] = {
    intField<J>(&J::ID),
    intField<J>(&J::DoggieID),
    textField<J>(J::EntryDateWidth, &J::EntryDate),
    textField<J>(J::EntryWidth, &J::Entry),
};

// The fields fill the record's length exactly.
template <typename R, std::size_t N>
constexpr int length(const Field<R> (&fields)[N])
{
    int at = 0;
    for (const Field<R>& f : fields)
        at += f.bytes();
    return at;
}
static_assert(length(kDoggieFields) == D::Length);
static_assert(length(kHealthFields) == H::Length);
static_assert(length(kJournalFields) == J::Length);
// Where the scans that read raw bytes find a dog's name and a record's dog.
static_assert(kDoggieFields[0].bytes() == D::NameOffset && kDoggieFields[1].text == &D::Name);
static_assert(kHealthFields[0].bytes() == DoggieIdOffset && kHealthFields[1].number == &H::DoggieID);
static_assert(kJournalFields[0].bytes() == DoggieIdOffset && kJournalFields[1].number == &J::DoggieID);

template <typename R>
void blank(R& record, std::span<const Field<R>> fields)
{
    for (const Field<R>& f : fields) {
        if (f.text)
            record.*f.text = QString(f.width, u' ');
    }
}

template <typename R>
QByteArray encode(const R& record, std::span<const Field<R>> fields)
{
    QByteArray bytes(R::Length, '\0');
    int at = 0;
    for (const Field<R>& f : fields) {
        if (f.number)
            writeInt32(bytes, at, record.*f.number);
        else
            bytes.replace(at, f.width, fixedtext::toField(record.*f.text, f.width));
        at += f.bytes();
    }
    return bytes;
}

template <typename R>
R decode(const QByteArray& raw, std::span<const Field<R>> fields)
{
    const QByteArray bytes = raw.leftJustified(R::Length, '\0', true);
    R record;
    int at = 0;
    for (const Field<R>& f : fields) {
        if (f.number)
            record.*f.number = readInt32(bytes, at);
        else
            record.*f.text = win1252::decode(bytes.mid(at, f.width));
        at += f.bytes();
    }
    return record;
}

} // namespace

qint32 readInt32(const char* bytes, int offset)
{
    return qFromLittleEndian<qint32>(bytes + offset);
}

void writeInt32(QByteArray& bytes, int offset, qint32 value)
{
    qToLittleEndian<qint32>(value, bytes.data() + offset);
}

DoggieRecord::DoggieRecord()
{
    blank<D>(*this, kDoggieFields);
}
int DoggieRecord::widthOf(QString DoggieRecord::*field)
{
    for (const Field<D>& f : kDoggieFields) {
        if (f.text == field)
            return f.width;
    }
    return 0;
}
QByteArray DoggieRecord::toBytes() const
{
    return encode<D>(*this, kDoggieFields);
}
DoggieRecord DoggieRecord::fromBytes(const QByteArray& bytes)
{
    return decode<D>(bytes, kDoggieFields);
}

HealthRecord::HealthRecord()
{
    blank<H>(*this, kHealthFields);
}
QByteArray HealthRecord::toBytes() const
{
    return encode<H>(*this, kHealthFields);
}
HealthRecord HealthRecord::fromBytes(const QByteArray& bytes)
{
    return decode<H>(bytes, kHealthFields);
}

JournalRecord::JournalRecord()
{
    blank<J>(*this, kJournalFields);
}
QByteArray JournalRecord::toBytes() const
{
    return encode<J>(*this, kJournalFields);
}
JournalRecord JournalRecord::fromBytes(const QByteArray& bytes)
{
    return decode<J>(bytes, kJournalFields);
}
