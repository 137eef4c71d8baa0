#include "GridFooter.h"

#include <QHeaderView>
#include <QPainter>
#include <QTableView>

TGridFooter::TGridFooter(QTableView *view, std::function<TCell(int)> cell)
    : QWidget(view), m_view(view), m_cell(std::move(cell))
{
    setObjectName(QStringLiteral("GridFooter"));
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Button);
}

int TGridFooter::RowHeight() const
{
    return fontMetrics().height() + 8;
}

void TGridFooter::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    const QHeaderView *header = m_view->horizontalHeader();
    // The footer starts under the row header; columns sit where the viewport shows them.
    const int originX = m_view->viewport()->geometry().left() - geometry().left();
    p.setPen(palette().color(QPalette::Mid));
    p.drawLine(0, 0, width(), 0);
    for (int visual = 0; visual < header->count(); ++visual) {
        const int column = header->logicalIndex(visual);
        if (header->isSectionHidden(column))
            continue;
        const QRect cell(originX + header->sectionViewportPosition(column), 0,
                         header->sectionSize(column), height());
        if (cell.right() < originX || cell.left() > width())
            continue;
        p.setPen(palette().color(QPalette::Mid));
        p.drawLine(cell.topRight(), cell.bottomRight());
        const TCell content = m_cell(column);
        if (content.text.isEmpty())
            continue;
        p.setPen(palette().color(QPalette::ButtonText));
        p.save();
        p.setClipRect(QRect(originX, 0, width() - originX, height()));
        p.drawText(cell.adjusted(4, 0, -4, 0), Qt::AlignVCenter | content.alignment, content.text);
        p.restore();
    }
}
