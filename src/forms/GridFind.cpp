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
                 const TGridFindOptions &options, int fromRow)
{
    if (options.Text.isEmpty())
        return -1;
    const int step = options.Forward ? 1 : -1;
    for (int row = fromRow + step; row >= 0 && row < rowCount; row += step) {
        for (int column : columns)
            if (GridTextMatches(cellText(row, column), options))
                return row;
    }
    return -1;
}
