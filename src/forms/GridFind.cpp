#include "GridFind.h"

bool GridTextMatches(const QString &cellText, const TGridFindOptions &options)
{
    const Qt::CaseSensitivity cs = options.CaseSensitive ? Qt::CaseSensitive : Qt::CaseInsensitive;
    switch (options.Match) {
    case TGridFindMatch::WholeCell: return cellText.compare(options.Text, cs) == 0;
    case TGridFindMatch::StartOfCell: return cellText.startsWith(options.Text, cs);
    case TGridFindMatch::AnyPart: return cellText.contains(options.Text, cs);
    }
    return false;
}

int FindGridText(int rowCount, const QList<int> &columns, const TGridCellText &cellText,
                 const TGridFindOptions &options, int fromRow, const TGridFindProgress &keepGoing,
                 bool *stopped)
{
    if (stopped)
        *stopped = false;
    if (options.Text.isEmpty())
        return -1;
    const int step = options.Forward ? 1 : -1;
    int sinceCheck = 0;
    for (int row = fromRow + step; row >= 0 && row < rowCount; row += step) {
        if (keepGoing && ++sinceCheck == FindCheckEvery) {
            sinceCheck = 0;
            if (!keepGoing(row)) {
                if (stopped)
                    *stopped = true;
                return -1;
            }
        }
        for (int column : columns)
            if (GridTextMatches(cellText(row, column), options))
                return row;
    }
    return -1;
}
