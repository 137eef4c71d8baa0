#include "InputCode.h"

#include <QStringDecoder>
#include <QStringEncoder>

#include <optional>

namespace {

using Option = TInputCodeOption;

constexpr unsigned char LeadNumbered = 0xA2;
constexpr unsigned char LeadFullWidth = 0xA3;
constexpr unsigned char LeadGreek = 0xA6;
constexpr unsigned char FirstLead = 0x81;
constexpr unsigned char FirstTrail = 0x40;

// Row 0xA2: runs of numbered symbols, each counting from 1 at its first
// trail byte — small Roman numerals, numbers with a full stop, in
// parentheses, circled, parenthesised ideographic numbers, capital Roman
// numerals. Trail bytes outside the runs give nothing.
struct TNumberedRun {
    unsigned char first;
    unsigned char last;
};
constexpr TNumberedRun NumberedRuns[] = {
    {0xA1, 0xAA}, {0xB1, 0xC4}, {0xC5, 0xD8}, {0xD9, 0xE2}, {0xE5, 0xEE}, {0xF1, 0xFC},
};

// Row 0xA6: capitals from 0xA1 and small letters from 0xC1, in alphabet order.
constexpr const char *GreekLetters[24] = {
    "A", "B", "G", "D", "E", "Z", "E", "TH", "I", "K", "L", "M",
    "N", "X", "O", "P", "R", "S", "T", "U", "PH", "KH", "PS", "O",
};

bool isAsciiAlnum(unsigned char c)
{
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

char asciiUpper(char c)
{
    return c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : c;
}

int syllableNumber(unsigned char lead, unsigned char trail)
{
    if (lead < PinyinTable::LeadFirst || lead > PinyinTable::LeadLast
        || trail < PinyinTable::TrailFirst || trail > PinyinTable::TrailLast)
        return 0;
    return PinyinTable::Readings[(lead - PinyinTable::LeadFirst) * PinyinTable::Columns
                                 + (trail - PinyinTable::TrailFirst)];
}

void appendNoReading(QByteArray &out, TInputCodeOptions options)
{
    if (options & Option::MarkMissingReadings)
        out += '?';
}

void appendSingleByte(QByteArray &out, unsigned char c, TInputCodeOptions options)
{
    if (isAsciiAlnum(c))
        out += asciiUpper(char(c));
    else if (options & Option::KeepOtherCharacters)
        out += char(c);
}

bool appendNumbered(QByteArray &out, unsigned char trail)
{
    if (trail <= 0xA0)
        return false;
    for (const TNumberedRun &run : NumberedRuns) {
        if (trail >= run.first && trail <= run.last) {
            out += QByteArray::number(trail - run.first + 1);
            break;
        }
    }
    return true;
}

// Only the defined full-width characters (trail 0xA1-0xFE, ASCII 0x21-0x7E
// and the macron); the rest of the row is user-defined and has no reading.
bool appendFullWidth(QByteArray &out, unsigned char trail, TInputCodeOptions options)
{
    if (trail <= 0xA0)
        return false;
    const auto c = static_cast<unsigned char>(trail - 0x80);
    if (isAsciiAlnum(c) || (options & Option::KeepOtherCharacters))
        out += char(c);
    return true;
}

bool appendGreek(QByteArray &out, unsigned char trail)
{
    if (trail >= 0xA1 && trail <= 0xB8)
        out += GreekLetters[trail - 0xA1];
    else if (trail >= 0xC1 && trail <= 0xD8)
        out += GreekLetters[trail - 0xC1];
    else
        return false;
    return true;
}

bool appendSyllable(QByteArray &out, unsigned char lead, unsigned char trail,
                    TInputCodeOptions options)
{
    const char *syllable = PinyinTable::Syllables[syllableNumber(lead, trail)];
    if (!*syllable)
        return false;
    if (!(options & Option::FullSyllables)) {
        out += asciiUpper(*syllable);
        return true;
    }
    for (; *syllable; ++syllable)
        out += asciiUpper(*syllable);
    return true;
}

void appendDoubleByte(QByteArray &out, unsigned char lead, unsigned char trail,
                      TInputCodeOptions options)
{
    bool read = false;
    switch (lead) {
    case LeadNumbered: read = appendNumbered(out, trail); break;
    case LeadFullWidth: read = appendFullWidth(out, trail, options); break;
    case LeadGreek: read = appendGreek(out, trail); break;
    default: read = appendSyllable(out, lead, trail, options); break;
    }
    if (!read)
        appendNoReading(out, options);
}

// Appends the codes of whole GBK text; stops early once the code is long
// enough, since nothing later changes its first `maxLength` characters.
void appendCodes(QByteArray &out, QByteArrayView gbk, TInputCodeOptions options,
                 qsizetype maxLength)
{
    const qsizetype size = gbk.size();
    for (qsizetype i = 0; i < size && out.size() < maxLength;) {
        const auto b1 = static_cast<unsigned char>(gbk[i]);
        const auto b2 = static_cast<unsigned char>(i + 1 < size ? gbk[i + 1] : 0);
        if (b1 < FirstLead || b2 < FirstTrail) {
            appendSingleByte(out, b1, options);
            ++i;
        } else {
            appendDoubleByte(out, b1, b2, options);
            i += 2;
        }
    }
}

// The GBK bytes of `text`; false when some character has no GBK code (the
// encoder then puts "?" in its place, which must not reach the code).
// One encoder per thread, as opening the codec costs more than a short code.
// Its error flag never clears, so a failure builds a new one in place; it is
// never moved, since the codec reports errors to the address it opened with.
bool toGbk(QStringView text, QByteArray &bytes)
{
    thread_local std::optional<QStringEncoder> encoder;
    if (!encoder)
        encoder.emplace("GBK", QStringConverter::Flag::Stateless);
    bytes = encoder->encode(text);
    if (!encoder->hasError())
        return true;
    encoder.reset();
    return false;
}

// The slow way for text with characters that GBK lacks: one code point at a
// time, each unencodable one a character without a reading.
void appendCodesByCharacter(QByteArray &out, QStringView text, TInputCodeOptions options,
                            qsizetype maxLength)
{
    QByteArray bytes;
    for (qsizetype i = 0; i < text.size() && out.size() < maxLength;) {
        const bool pair = text[i].isHighSurrogate() && i + 1 < text.size()
                          && text[i + 1].isLowSurrogate();
        const qsizetype length = pair ? 2 : 1;
        if (toGbk(text.mid(i, length), bytes))
            appendCodes(out, bytes, options, maxLength);
        else
            appendNoReading(out, options);
        i += length;
    }
}

bool isAscii(const QByteArray &bytes)
{
    for (char c : bytes) {
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    }
    return true;
}

} // namespace

QString MakeInputCode(const QString &text)
{
    return BuildInputCode(text, Option::KeepOtherCharacters, InputCodeMaxLength);
}

QString BuildInputCode(const QString &text, TInputCodeOptions options, int maxLength)
{
    QByteArray bytes;
    QByteArray code;
    const qsizetype limit = qMax(0, maxLength);
    if (toGbk(text, bytes))
        appendCodes(code, bytes, options, limit);
    else
        appendCodesByCharacter(code, text, options, limit);
    code.truncate(limit);
    // Kept bytes above ASCII (the euro sign 0x80) are GBK text again.
    if (isAscii(code))
        return QString::fromLatin1(code);
    QStringDecoder decoder("GBK", QStringConverter::Flag::Stateless);
    return decoder.decode(code);
}

QByteArray BuildInputCodeGbk(QByteArrayView gbk, TInputCodeOptions options, int maxLength)
{
    QByteArray code;
    const qsizetype limit = qMax(0, maxLength);
    appendCodes(code, gbk, options, limit);
    code.truncate(limit);
    return code;
}

QLatin1StringView GbkSyllable(unsigned char lead, unsigned char trail)
{
    return QLatin1StringView(PinyinTable::Syllables[syllableNumber(lead, trail)]);
}
