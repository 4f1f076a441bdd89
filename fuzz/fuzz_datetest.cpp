// The date test on any text: it never fails, and blanks around a date do not
// change the answer.
#include "FuzzSupport.h"

#include "records/DateTest.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QDate today(2026, 12, 6);
    const QString utf8 = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    const QString latin1 = QString::fromLatin1(reinterpret_cast<const char*>(data), qsizetype(size));
    for (const QString& text : {utf8, latin1}) {
        const bool date = isDate(text, today);
        FUZZ_CHECK(isDate(QStringLiteral("  ") + text + QStringLiteral(" "), today) == date);
        if (date)
            FUZZ_CHECK(!text.trimmed().isEmpty());
    }
    return 0;
}
