#pragma once

// The data grid's title row: the column titles with their sort markers (an
// arrow, and the column's place in the sort when several columns sort), and
// under them the filter row, one line edit per column. A filter text is
// taken on Enter, or after a short pause in typing.

#include <QHeaderView>
#include <QList>

class QLineEdit;
class QTimer;

class TGridTitleHeader : public QHeaderView
{
    Q_OBJECT
public:
    explicit TGridTitleHeader(QWidget *parent = nullptr);

    void SetFilterRowVisible(bool visible);
    bool FilterRowVisible() const { return m_filterRow; }
    // The filter row's editor of a column; nullptr when there is none.
    QLineEdit *FilterEditor(int logical) const;
    QString FilterText(int logical) const;
    void SetFilterText(int logical, const QString &text);
    // Marks an editor whose text the column cannot take (red, with the reason
    // as its tooltip); an empty reason clears the mark.
    void MarkFilterError(int logical, const QString &reason);

    struct TSortMarker {
        int section = -1;
        bool descending = false;
    };
    // The sorted columns, most significant first.
    void SetSortMarkers(const QList<TSortMarker> &markers);
    QList<TSortMarker> SortMarkers() const { return m_markers; }

    // The triangle of a sort marker in a title's rectangle.
    static QPolygon SortArrow(const QRect &section, bool descending);

    // Puts the editors under their titles again (after a horizontal scroll).
    void PlaceEditors();
    // Waits another pause before FilterPaused (the grid could not take the
    // text yet).
    void PauseAgain();

    QSize sizeHint() const override;

signals:
    // A title was clicked, with the keys held (Ctrl adds a sort column).
    void TitleClicked(int logical, Qt::KeyboardModifiers modifiers);
    // Enter in a filter editor.
    void FilterEntered(int logical);
    // A pause after typing in a filter editor.
    void FilterPaused(int logical);

protected:
    void updateGeometries() override;
    void paintSection(QPainter *painter, const QRect &rect, int logical) const override;
    QSize sectionSizeFromContents(int logical) const override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void rebuildEditors();
    int editorHeight() const;
    int titleHeight() const;

    QList<QLineEdit *> m_editors;
    QList<TSortMarker> m_markers;
    bool m_filterRow = true;
    QTimer *m_pause = nullptr;
    int m_pausedSection = -1;
    Qt::KeyboardModifiers m_clickModifiers;
};
