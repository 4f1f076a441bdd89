#include "records/DateTest.h"

#include "records/FixedText.h"

#include <QList>

#include <array>
#include <optional>

namespace {

struct Token {
    enum Kind { Number, Month, Separator, Colon, Meridiem } kind;
    int value = 0; // the number, or the month 1 to 12
};

constexpr std::array<const char*, 12> kMonths = {"january", "february", "march",     "april",   "may",      "june",
                                                 "july",    "august",   "september", "october", "november", "december"};

std::optional<int> monthOf(const QString& word)
{
    const QString lower = word.toLower();
    for (std::size_t i = 0; i < kMonths.size(); ++i) {
        const QString name = QString::fromLatin1(kMonths[i]);
        if (lower == name || lower == name.left(3))
            return int(i) + 1;
    }
    return std::nullopt;
}

// Splits the text into tokens; nullopt for any character or word that has no
// place in a date or time.
std::optional<QList<Token>> tokenize(const QString& text)
{
    QList<Token> tokens;
    for (qsizetype i = 0; i < text.size();) {
        const QChar c = text[i];
        if (c == u' ' || c == u',' || c == u'\t') {
            ++i;
        } else if (c == u'/' || c == u'-') {
            tokens.append(Token{Token::Separator});
            ++i;
        } else if (c == u':') {
            tokens.append(Token{Token::Colon});
            ++i;
        } else if (c >= u'0' && c <= u'9') {
            qsizetype end = i;
            while (end < text.size() && text[end] >= u'0' && text[end] <= u'9')
                ++end;
            if (end - i > 9)
                return std::nullopt;
            tokens.append(Token{Token::Number, text.mid(i, end - i).toInt()});
            i = end;
        } else if (c.isLetter() && c.unicode() < 128) {
            qsizetype end = i;
            while (end < text.size() && text[end].isLetter() && text[end].unicode() < 128)
                ++end;
            const QString word = text.mid(i, end - i);
            const QString lower = word.toLower();
            if (lower == u"am" || lower == u"pm") {
                tokens.append(Token{Token::Meridiem});
            } else if (const auto month = monthOf(word)) {
                tokens.append(Token{Token::Month, *month});
            } else {
                return std::nullopt;
            }
            i = end;
        } else {
            return std::nullopt;
        }
    }
    return tokens;
}

// A trailing time: h[:mm[:ss]] with AM or PM, or h:mm[:ss] without. Returns
// where it starts, tokens.size() when there is none, or nullopt when the
// tokens hold a time that is not well formed.
std::optional<qsizetype> timeStart(const QList<Token>& tokens)
{
    qsizetype start = -1;
    for (qsizetype i = 0; i < tokens.size(); ++i) {
        if (tokens[i].kind == Token::Colon || tokens[i].kind == Token::Meridiem) {
            start = i - 1;
            break;
        }
    }
    if (start < 0)
        return tokens.size();
    if (tokens[start].kind != Token::Number)
        return std::nullopt;
    // Number (Colon Number){0,2} Meridiem?, with at least one colon or the meridiem.
    qsizetype i = start + 1;
    int parts = 1;
    QList<int> values{tokens[start].value};
    while (i + 1 < tokens.size() && tokens[i].kind == Token::Colon && tokens[i + 1].kind == Token::Number &&
           parts < 3) {
        values.append(tokens[i + 1].value);
        i += 2;
        ++parts;
    }
    const bool meridiem = i < tokens.size() && tokens[i].kind == Token::Meridiem;
    if (meridiem)
        ++i;
    if (i != tokens.size() || (parts == 1 && !meridiem))
        return std::nullopt;
    const int hourLimit = meridiem ? 12 : 23;
    if (values[0] > hourLimit || (meridiem && values[0] == 0))
        return std::nullopt;
    for (const int minutesOrSeconds : values.mid(1)) {
        if (minutesOrSeconds > 59)
            return std::nullopt;
    }
    return start;
}

std::optional<int> year(int value)
{
    if (value < 30)
        return 2000 + value;
    if (value < 100)
        return 1900 + value;
    if (value <= 9999)
        return value;
    return std::nullopt;
}

// The day that year y, month m and day d name, when they name one.
std::optional<QDate> day(std::optional<int> y, int m, int d)
{
    if (!y || !QDate::isValid(*y, m, d))
        return std::nullopt;
    return QDate(*y, m, d);
}

// The first reading, in the order tried, that names a day.
std::optional<QDate> firstOf(std::initializer_list<std::optional<QDate>> readings)
{
    for (const auto& reading : readings) {
        if (reading)
            return reading;
    }
    return std::nullopt;
}

std::optional<QDate> numbersOnly(const QList<int>& n, const QDate& today)
{
    if (n.size() == 3)
        return firstOf({day(year(n[2]), n[0], n[1]), day(year(n[0]), n[1], n[2]), day(year(n[0]), n[2], n[1]),
                        day(year(n[2]), n[1], n[0])});
    if (n.size() == 2)
        return firstOf({day(today.year(), n[0], n[1]), day(today.year(), n[1], n[0]), day(year(n[1]), n[0], 1),
                        day(year(n[0]), n[1], 1)});
    return std::nullopt;
}

std::optional<QDate> withMonthName(int month, const QList<int>& n, const QDate& today)
{
    if (n.size() == 2)
        return firstOf({day(year(n[1]), month, n[0]), day(year(n[0]), month, n[1])});
    if (n.size() == 1)
        return firstOf({day(today.year(), month, n[0]), day(year(n[0]), month, 1)});
    return std::nullopt;
}

} // namespace

bool isDate(const QString& text, const QDate& today)
{
    return dateOf(text, today).has_value();
}

std::optional<QDate> dateOf(const QString& text, const QDate& today)
{
    const auto tokens = tokenize(text);
    if (!tokens)
        return std::nullopt;
    const auto end = timeStart(*tokens);
    if (!end)
        return std::nullopt;

    QList<int> numbers;
    std::optional<int> month;
    int separators = 0;
    bool lastWasSeparator = true; // no separator may lead
    for (qsizetype i = 0; i < *end; ++i) {
        const Token& t = (*tokens)[i];
        if (t.kind == Token::Separator) {
            if (lastWasSeparator || ++separators > 2)
                return std::nullopt;
            lastWasSeparator = true;
            continue;
        }
        lastWasSeparator = false;
        if (t.kind == Token::Number) {
            numbers.append(t.value);
        } else if (t.kind == Token::Month && !month) {
            month = t.value;
        } else {
            return std::nullopt;
        }
    }
    if (lastWasSeparator) // nothing, or a trailing separator
        return std::nullopt;
    return month ? withMonthName(*month, numbers, today) : numbersOnly(numbers, today);
}

QString fitDate(const QString& text, int width, const QDate& today)
{
    if (text.size() <= width || fixedtext::isBlank(text.mid(width)))
        return text;
    const auto date = dateOf(text, today);
    return date ? QStringLiteral("%1/%2/%3").arg(date->month()).arg(date->day()).arg(date->year()) : text;
}
