#pragma once

// Input codes: the upper-case initials of the pinyin syllables of a name, so
// that staff find "物权法" by typing WQF and "李明" by typing LM. The code is
// computed from the GBK bytes of the text with built-in tables, byte by byte.

#include <QByteArray>
#include <QByteArrayView>
#include <QFlags>
#include <QLatin1StringView>
#include <QString>

#include <cstdint>

enum class TInputCodeOption {
    // A Chinese character gives its whole syllable, not its initial.
    FullSyllables = 1,
    // A double-byte character without a reading gives "?" instead of nothing.
    MarkMissingReadings = 2,
    // Characters other than letters and digits (single-byte and full-width)
    // stay in the code instead of being dropped.
    KeepOtherCharacters = 4,
};
Q_DECLARE_FLAGS(TInputCodeOptions, TInputCodeOption)
Q_DECLARE_OPERATORS_FOR_FLAGS(TInputCodeOptions)

// The longest code MakeInputCode returns.
inline constexpr int InputCodeMaxLength = 255;

// The input code of `text` as the editors and batch generators store it:
// other characters kept, at most InputCodeMaxLength characters.
QString MakeInputCode(const QString &text);

// The code of `text` with `options`, cut to its first `maxLength`
// characters. Characters that GBK cannot encode (emoji, for example) count
// as characters without a reading.
QString BuildInputCode(const QString &text, TInputCodeOptions options, int maxLength);

// The same over GBK bytes, returning GBK bytes: a byte the rules keep
// unchanged (a lone lead byte at the end, for one) stays as it was.
QByteArray BuildInputCodeGbk(QByteArrayView gbk, TInputCodeOptions options, int maxLength);

// The lower-case syllable that the reading table gives the GBK double-byte
// character `lead` `trail`; empty when it has none. The rows of numbered
// symbols, full-width ASCII and Greek letters are not in the table.
QLatin1StringView GbkSyllable(unsigned char lead, unsigned char trail);

// The generated tables (PinyinTable.cpp): the syllables, entry 0 empty, and
// one syllable number for every lead byte 0x81-0xFE and trail byte
// 0x40-0xFE, 0 where the character has no reading.
namespace PinyinTable {
inline constexpr int LeadFirst = 0x81;
inline constexpr int LeadLast = 0xFE;
inline constexpr int TrailFirst = 0x40;
inline constexpr int TrailLast = 0xFE;
inline constexpr int Columns = TrailLast - TrailFirst + 1;
inline constexpr int Size = (LeadLast - LeadFirst + 1) * Columns;

extern const int SyllableCount;
extern const char Syllables[][7];
extern const std::uint16_t Readings[Size];
} // namespace PinyinTable
