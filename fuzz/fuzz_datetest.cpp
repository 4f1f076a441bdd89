// The date test on any text: it never fails, and blanks around a date do not
// change the answer; a date kept in a 10-character field names the same day.
#include "FuzzSupport.h"

#include "records/DateTest.h"
#include "records/FixedText.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QDate today(2026, 12, 6);
    const QString utf8 = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    const QString latin1 = QString::fromLatin1(reinterpret_cast<const char*>(data), qsizetype(size));
    for (const QString& text : {utf8, latin1}) {
        const bool date = isDate(text, today);
        FUZZ_CHECK(isDate(QStringLiteral("  ") + text + QStringLiteral(" "), today) == date);
        if (date) {
            FUZZ_CHECK(!text.trimmed().isEmpty());
            FUZZ_CHECK(dateOf(fixedtext::fit(fitDate(text, 10, today), 10), today) == dateOf(text, today));
        }
    }
    return 0;
}
