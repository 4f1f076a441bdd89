// Windows-1252 both ways: any bytes decode and encode back to themselves;
// any text encodes to one byte per character, and back to itself where the
// code page holds the character, '?' where it does not.
#include "FuzzSupport.h"

#include "records/FixedText.h"
#include "records/Win1252.h"

#include <QList>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    FUZZ_CHECK(win1252::encode(win1252::decode(bytes)) == bytes);

    const QString text(reinterpret_cast<const QChar*>(data), qsizetype(size / 2));
    const QList<uint> codePoints = text.toUcs4();
    const QByteArray encoded = win1252::encode(text);
    FUZZ_CHECK(encoded.size() == codePoints.size());
    const QString back = win1252::decode(encoded);
    for (qsizetype i = 0; i < codePoints.size(); ++i) {
        FUZZ_CHECK(back[i].unicode() == codePoints[i] || back[i] == u'?');
    }
    for (int width : {0, 1, 10, 40}) {
        FUZZ_CHECK(fixedtext::toField(text, width).size() == width);
        FUZZ_CHECK(fixedtext::fit(text, width).size() == width);
    }
    return 0;
}
