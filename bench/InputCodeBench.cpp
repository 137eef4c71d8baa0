// MakeInputCode over one million generated titles: Chinese text of the
// common characters with the occasional Latin word, number, title marks and
// full-width letter, as a catalogue holds them. Reports codes per second.

#include "data/InputCode.h"

#include <benchmark/benchmark.h>

#include <QStringDecoder>
#include <QStringList>

#include <random>

using namespace Qt::StringLiterals;

namespace {

constexpr int TitleCount = 1'000'000;

// The 3,755 common characters of GB2312 level 1 (0xB0A1-0xD7F9).
QString commonCharacters()
{
    QByteArray gbk;
    for (int lead = 0xB0; lead <= 0xD7; ++lead) {
        for (int trail = 0xA1; trail <= (lead == 0xD7 ? 0xF9 : 0xFE); ++trail) {
            gbk += char(lead);
            gbk += char(trail);
        }
    }
    QStringDecoder decoder("GBK");
    return decoder.decode(gbk);
}

QStringList generateTitles(bool withEmoji)
{
    const QString characters = commonCharacters();
    const QStringList extras = {u"ISO 9001 "_s, u"2024年"_s, u"《"_s, u"》"_s, u"Ｃ++"_s,
                                u"第②版"_s, u"(修订本)"_s, u"Java "_s};
    std::mt19937 random(20240601);
    std::uniform_int_distribution<int> length(3, 18);
    std::uniform_int_distribution<qsizetype> pick(0, characters.size() - 1);
    std::uniform_int_distribution<qsizetype> pickExtra(0, extras.size() - 1);
    std::uniform_int_distribution<int> percent(0, 99);
    QStringList titles;
    titles.reserve(TitleCount);
    for (int t = 0; t < TitleCount; ++t) {
        QString title;
        for (int i = length(random); i > 0; --i)
            title += characters[pick(random)];
        if (percent(random) < 20)
            title.insert(pick(random) % (title.size() + 1), extras[pickExtra(random)]);
        if (withEmoji && percent(random) < 5)
            title += u"😀"_s;
        titles.append(title);
    }
    return titles;
}

void run(benchmark::State &state, const QStringList &titles)
{
    qsizetype characters = 0;
    for (auto _ : state) {
        for (const QString &title : titles) {
            QString code = MakeInputCode(title);
            characters += code.size();
            benchmark::DoNotOptimize(code);
        }
    }
    state.SetItemsProcessed(state.iterations() * titles.size());
    state.counters["code_chars"] = double(characters) / double(state.iterations());
}

void BM_MakeInputCode(benchmark::State &state)
{
    static const QStringList titles = generateTitles(false);
    run(state, titles);
}

// One title in twenty carries a character GBK lacks and takes the slow way.
void BM_MakeInputCodeWithEmoji(benchmark::State &state)
{
    static const QStringList titles = generateTitles(true);
    run(state, titles);
}

} // namespace

BENCHMARK(BM_MakeInputCode)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_MakeInputCodeWithEmoji)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK_MAIN();
