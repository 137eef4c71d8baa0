#pragma once

// The find-text rule of the data grid: the next row with a cell that shows
// the text. The cells are read through the grid's model, so rows come from
// the database page by page and custom cell texts are searched as shown.

#include <QList>
#include <QString>
#include <functional>

enum class TGridFindMatch { AnyPart, WholeCell, StartOfCell };

struct TGridFindOptions {
    QString Text;
    TGridFindMatch Match = TGridFindMatch::AnyPart;
    bool CaseSensitive = false;
    bool Forward = true;
};

// True when a cell showing `cellText` matches.
bool GridTextMatches(const QString &cellText, const TGridFindOptions &options);

using TGridCellText = std::function<QString(int row, int column)>;

// Asked every FindCheckEvery rows with the row reached; false stops the search.
using TGridFindProgress = std::function<bool(int row)>;
inline constexpr int FindCheckEvery = 256;

// The first row after `fromRow` (before it when searching backwards) where
// one of `columns` shows the text; -1 when there is none, or when
// `keepGoing` (may be empty) stopped the search, which `stopped` tells.
int FindGridText(int rowCount, const QList<int> &columns, const TGridCellText &cellText,
                 const TGridFindOptions &options, int fromRow,
                 const TGridFindProgress &keepGoing = {}, bool *stopped = nullptr);
