#include "records/Records.h"

#include "records/FixedText.h"
#include "records/Win1252.h"

#include <QtEndian>

#include <span>

namespace {

// One field of a record: where it stands and which member holds it.
template <typename R>
struct Field {
    int offset;
    int width; // 0 for a 32-bit integer
    qint32 R::*number;
    QString R::*text;
};

template <typename R>
constexpr Field<R> intField(int offset, qint32 R::*member)
{
    return {offset, 0, member, nullptr};
}

template <typename R>
constexpr Field<R> textField(int offset, int width, QString R::*member)
{
    return {offset, width, nullptr, member};
}

using D = DoggieRecord;
constexpr Field<D> kDoggieFields[] = {
    intField<D>(0, &D::ID),
    textField<D>(D::NameOffset, D::NameWidth, &D::Name),
    textField<D>(44, 40, &D::PedigreeName),
    textField<D>(84, D::BirthDateWidth, &D::BirthDate),
    textField<D>(94, 40, &D::LicenseNo),
    textField<D>(134, 40, &D::CameFrom),
    textField<D>(174, 40, &D::VetName),
    textField<D>(214, 40, &D::VetAddress),
    textField<D>(254, D::PhoneWidth, &D::VetPhoneNo),
    textField<D>(269, D::PhoneWidth, &D::VetEmergencyNo),
    textField<D>(284, 40, &D::GroomerName),
    textField<D>(324, D::PhoneWidth, &D::GroomerPhoneNo),
    textField<D>(339, D::PictureWidth, &D::Picture),
};

using H = HealthRecord;
constexpr Field<H> kHealthFields[] = {
    intField<H>(0, &H::ID),
    intField<H>(DoggieIdOffset, &H::DoggieID),
    textField<H>(8, H::DateGivenWidth, &H::DateGiven),
    textField<H>(18, H::VaccineWidth, &H::Vaccine),
};

using J = JournalRecord;
constexpr Field<J> kJournalFields[] = {
    intField<J>(0, &J::ID),
    intField<J>(DoggieIdOffset, &J::DoggieID),
    textField<J>(8, J::EntryDateWidth, &J::EntryDate),
    textField<J>(18, J::EntryWidth, &J::Entry),
};

// Each field starts where the one before it ends, and the last ends at the
// record's length.
template <typename R, std::size_t N>
constexpr bool contiguous(const Field<R> (&fields)[N])
{
    int at = 0;
    for (const Field<R>& f : fields) {
        if (f.offset != at)
            return false;
        at += f.width == 0 ? 4 : f.width;
    }
    return at == R::Length;
}
static_assert(contiguous(kDoggieFields));
static_assert(contiguous(kHealthFields));
static_assert(contiguous(kJournalFields));

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
    for (const Field<R>& f : fields) {
        if (f.number)
            writeInt32(bytes, f.offset, record.*f.number);
        else
            bytes.replace(f.offset, f.width, fixedtext::toField(record.*f.text, f.width));
    }
    return bytes;
}

template <typename R>
R decode(const QByteArray& raw, std::span<const Field<R>> fields)
{
    const QByteArray bytes = raw.leftJustified(R::Length, '\0', true);
    R record;
    for (const Field<R>& f : fields) {
        if (f.number)
            record.*f.number = readInt32(bytes, f.offset);
        else
            record.*f.text = win1252::decode(bytes.mid(f.offset, f.width));
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
