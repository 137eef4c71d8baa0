#pragma once

// The data grid's footer row: one cell under each column, with a fixed text
// or a sum, following the columns as they are resized and scrolled.

#include <QWidget>
#include <functional>

class QTableView;

class TGridFooter : public QWidget
{
    Q_OBJECT
public:
    struct TCell {
        QString text;
        Qt::Alignment alignment = Qt::AlignLeft;
    };
    // `cell` gives what stands under a column (by its model column).
    TGridFooter(QTableView *view, std::function<TCell(int column)> cell);

    int RowHeight() const;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QTableView *m_view;
    std::function<TCell(int)> m_cell;
};
