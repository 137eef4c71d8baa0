// Input codes: the rules over GBK bytes, the chosen readings of characters
// with several readings, and the reading table against the Unihan data and
// Qt's GBK codec it is generated from.

#include "data/InputCode.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QProcess>
#include <QStringDecoder>
#include <QTemporaryDir>

#include <algorithm>
#include <optional>

using namespace Qt::StringLiterals;
using Option = TInputCodeOption;

namespace {

constexpr TInputCodeOptions None = {};
constexpr TInputCodeOptions Keep = Option::KeepOtherCharacters;
constexpr TInputCodeOptions Mark = Option::MarkMissingReadings;
constexpr TInputCodeOptions Full = Option::FullSyllables;

struct TCodeCase {
    const char *why;
    QString text;
    std::optional<TInputCodeOptions> options; // none: MakeInputCode
    int maxLength;
    QString expected;
};

QString codeOf(const TCodeCase &c)
{
    return c.options ? BuildInputCode(c.text, *c.options, c.maxLength) : MakeInputCode(c.text);
}

TEST(InputCode, EdgeCases)
{
    const std::optional<TInputCodeOptions> make; // MakeInputCode
    const int max = InputCodeMaxLength;
    const QList<TCodeCase> cases = {
        {"initials", u"物权法"_s, make, max, u"WQF"_s},
        {"a name", u"李明"_s, make, max, u"LM"_s},
        {"a publisher", u"科学出版社"_s, make, max, u"KXCBS"_s},
        {"title marks have no reading", u"《物权法》"_s, make, max, u"WQF"_s},
        {"marked when asked", u"《物权法》"_s, Mark, max, u"?WQF?"_s},
        {"blanks stay", u"ISO 9001 质量管理"_s, make, max, u"ISO 9001 ZLGL"_s},
        {"blanks dropped", u"ISO 9001 质量管理"_s, None, max, u"ISO9001ZLGL"_s},
        {"ASCII letters in upper case", u"abc-1"_s, make, max, u"ABC-1"_s},
        {"circled number", u"第②版"_s, make, max, u"D2B"_s},
        {"other numbered symbols", u"ⅲ⒇㈩Ⅻ"_s, make, max, u"3201012"_s},
        {"full-width letters keep their case", u"ＡＢｃ"_s, make, max, u"ABc"_s},
        {"full-width punctuation kept", u"（Ａ）ｂ"_s, make, max, u"(A)b"_s},
        {"full-width punctuation dropped", u"（Ａ）ｂ"_s, None, max, u"Ab"_s},
        {"Greek, whole", u"θΩλ"_s, make, max, u"THOL"_s},
        {"full syllables", u"物权法"_s, Full, max, u"WUQUANFA"_s},
        {"full syllables, missing marked", u"女※"_s, Full | Mark, max, u"NV?"_s},
        {"emoji has no reading", u"a😀b"_s, make, max, u"AB"_s},
        {"emoji marked", u"a😀b"_s, Mark, max, u"A?B"_s},
        {"a real question mark is kept", u"?😀"_s, make, max, u"?"_s},
        {"lone surrogate has no reading", u"a"_s + QChar(0xD800), Mark, max, u"A?"_s},
        {"kept euro sign", u"5€"_s, make, max, u"5€"_s},
        {"cut", u"物权法"_s, None, 2, u"WQ"_s},
        {"cut inside a syllable", u"物权法"_s, Full, 4, u"WUQU"_s},
        {"cut to nothing", u"物权法"_s, None, 0, QString()},
        {"cut at the maximum", QString(300, u'书'), make, max, QString(255, u'S')},
    };
    for (const TCodeCase &c : cases) {
        SCOPED_TRACE(c.why);
        EXPECT_EQ(codeOf(c), c.expected);
    }
}

TEST(InputCode, GbkBytes)
{
    struct TBytesCase {
        const char *why;
        QByteArray gbk;
        TInputCodeOptions options;
        QByteArray expected;
    };
    const QList<TBytesCase> cases = {
        {"double byte", "\xCE\xEF\xC8\xA8", None, "WQ"},
        {"lone lead byte dropped", "AB\x81", None, "AB"},
        {"lone lead byte kept unchanged", "AB\x81", Keep, "AB\x81"},
        {"lead before a low byte is single", "\x81"
                                             "1",
         Mark, "1"},
        {"unassigned code", "\xA1\x40", Mark, "?"},
    };
    for (const TBytesCase &c : cases) {
        SCOPED_TRACE(c.why);
        EXPECT_EQ(BuildInputCodeGbk(c.gbk, c.options, InputCodeMaxLength), c.expected);
    }
}

TEST(InputCode, ChosenReadings)
{
    const QList<std::pair<QString, QString>> rows = {
        {u"行"_s, u"HANG"_s}, {u"长"_s, u"ZHANG"_s}, {u"長"_s, u"ZHANG"_s},
        {u"重"_s, u"ZHONG"_s}, {u"乐"_s, u"LE"_s},   {u"樂"_s, u"LE"_s},
        {u"觉"_s, u"JIAO"_s},  {u"覺"_s, u"JIAO"_s}, {u"还"_s, u"HUAN"_s},
        {u"還"_s, u"HUAN"_s},  {u"调"_s, u"TIAO"_s}, {u"調"_s, u"TIAO"_s},
        {u"女"_s, u"NV"_s},    {u"吕"_s, u"LV"_s},   {u"绿"_s, u"LV"_s},
        {u"率"_s, u"LV"_s},    {u"略"_s, u"LUE"_s},  {u"\uF92C"_s, u"LANG"_s},
    };
    for (const auto &[character, syllable] : rows) {
        SCOPED_TRACE(character.toStdString());
        EXPECT_EQ(BuildInputCode(character, Full, InputCodeMaxLength), syllable);
        EXPECT_EQ(MakeInputCode(character), syllable.left(1));
    }
}

TEST(InputCode, Coverage)
{
    const auto covered = std::count_if(std::begin(PinyinTable::Readings),
                                       std::end(PinyinTable::Readings),
                                       [](std::uint16_t entry) { return entry != 0; });
    EXPECT_GE(covered, 20700);
}

QString sourceDir()
{
    const QString fromCTest = qEnvironmentVariable("VELLUMARK_SOURCE_DIR");
    if (!fromCTest.isEmpty())
        return fromCTest;
    return QDir(QFileInfo(QString::fromUtf8(__FILE__)).absolutePath() + u"/../.."_s)
        .canonicalPath();
}

// Runs the table generator; its standard output.
QByteArray runGenerator(const QStringList &arguments)
{
    QProcess python;
    python.start(u"python3"_s,
                 QStringList{sourceDir() + u"/tools/gen_pinyin_table.py"_s} + arguments);
    const bool finished = python.waitForFinished(120000);
    EXPECT_TRUE(finished && python.exitStatus() == QProcess::NormalExit && python.exitCode() == 0)
        << python.errorString().toStdString() << python.readAllStandardError().toStdString();
    return python.readAllStandardOutput();
}

// Every Chinese character of the sample library (titles, authors,
// publishers, readers, categories, dictionary items) has a reading, so its
// quick find works on the first run.
TEST(InputCode, SampleLibraryNamesHaveReadings)
{
    const QDir demo(sourceDir() + u"/src/data/demo"_s);
    const QStringList files = demo.entryList({u"*.tsv"_s}, QDir::Files);
    ASSERT_FALSE(files.isEmpty());
    QString missing;
    for (const QString &name : files) {
        QFile file(demo.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << qPrintable(name);
        for (QChar c : QString::fromUtf8(file.readAll()))
            if (c.script() == QChar::Script_Han && !missing.contains(c)
                && BuildInputCode(c, Mark, 1) == u"?"_s)
                missing += c;
    }
    EXPECT_TRUE(missing.isEmpty()) << missing.toStdString();
}

TEST(InputCode, CommittedTableIsTheGeneratorOutput)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString generated = dir.filePath(u"PinyinTable.cpp"_s);
    runGenerator({u"--output"_s, generated});
    QFile fresh(generated);
    QFile committed(sourceDir() + u"/src/data/PinyinTable.cpp"_s);
    ASSERT_TRUE(fresh.open(QIODevice::ReadOnly));
    ASSERT_TRUE(committed.open(QIODevice::ReadOnly));
    EXPECT_TRUE(fresh.readAll() == committed.readAll())
        << "src/data/PinyinTable.cpp differs from what tools/gen_pinyin_table.py produces "
           "from the installed Unihan data; rerun the generator";
}

// The generator reads GBK through Python's codec; the program through Qt's.
// Every code, decoded the way the program decodes it, must get the reading
// the generator chose for that character.
TEST(InputCode, TableFollowsQtGbk)
{
    QHash<char32_t, QByteArray> readings;
    for (const QByteArray &line : runGenerator({u"--readings"_s}).split('\n')) {
        const QList<QByteArray> fields = line.split('\t');
        if (fields.size() == 2)
            readings.insert(fields[0].toUInt(nullptr, 16), fields[1]);
    }
    ASSERT_GT(readings.size(), 20700);

    QStringList wrong;
    for (int lead = PinyinTable::LeadFirst; lead <= PinyinTable::LeadLast; ++lead) {
        for (int trail = PinyinTable::TrailFirst; trail <= PinyinTable::TrailLast; ++trail) {
            // A fresh decoder each time: an ICU decoder's error flag never clears.
            QStringDecoder decoder("GBK", QStringConverter::Flag::Stateless);
            const char gbk[] = {char(lead), char(trail)};
            const QString character = decoder.decode(QByteArrayView(gbk, 2));
            const bool one = !decoder.hasError() && character.toUcs4().size() == 1;
            const QByteArray expected = one ? readings.value(character.toUcs4().first()) : "";
            const QLatin1StringView actual = GbkSyllable(lead, trail);
            if (actual != QLatin1StringView(expected))
                wrong << u"%1%2 %3: %4 not %5"_s.arg(lead, 2, 16).arg(trail, 2, 16)
                             .arg(character, actual, QString::fromLatin1(expected));
        }
    }
    EXPECT_TRUE(wrong.isEmpty()) << wrong.mid(0, 20).join(u"; "_s).toStdString();
}

} // namespace
