#include "GridTitleHeader.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace {

constexpr int PauseMs = 700;
constexpr int MarkerSpace = 16;  // room for the sort arrow and its number

} // namespace

TGridTitleHeader::TGridTitleHeader(QWidget *parent) : QHeaderView(Qt::Horizontal, parent)
{
    setSectionsClickable(true);
    setHighlightSections(false);
    setDefaultAlignment(Qt::AlignCenter);
    setSortIndicatorShown(false);  // the markers are drawn here, several at once

    m_pause = new QTimer(this);
    m_pause->setSingleShot(true);
    m_pause->setInterval(PauseMs);
    connect(m_pause, &QTimer::timeout, this, [this] {
        if (m_pausedSection >= 0)
            emit FilterPaused(m_pausedSection);
    });
    connect(this, &QHeaderView::sectionCountChanged, this, &TGridTitleHeader::rebuildEditors);
    connect(this, &QHeaderView::sectionResized, this, &TGridTitleHeader::PlaceEditors);
    connect(this, &QHeaderView::sectionMoved, this, &TGridTitleHeader::PlaceEditors);
    connect(this, &QHeaderView::geometriesChanged, this, &TGridTitleHeader::PlaceEditors);
    connect(this, &QHeaderView::sectionClicked, this,
            [this](int logical) { emit TitleClicked(logical, m_clickModifiers); });
}

void TGridTitleHeader::SetFilterRowVisible(bool visible)
{
    if (m_filterRow == visible)
        return;
    m_filterRow = visible;
    updateGeometries();
    PlaceEditors();
}

QLineEdit *TGridTitleHeader::FilterEditor(int logical) const
{
    return m_editors.value(logical, nullptr);
}

QString TGridTitleHeader::FilterText(int logical) const
{
    const QLineEdit *editor = FilterEditor(logical);
    return editor ? editor->text() : QString();
}

void TGridTitleHeader::SetFilterText(int logical, const QString &text)
{
    if (QLineEdit *editor = FilterEditor(logical))
        editor->setText(text);
}

void TGridTitleHeader::MarkFilterError(int logical, const QString &reason)
{
    QLineEdit *editor = FilterEditor(logical);
    if (!editor)
        return;
    editor->setToolTip(reason);
    editor->setStyleSheet(reason.isEmpty() ? QString() : u"QLineEdit { color: #c00000; }"_s);
}

void TGridTitleHeader::SetSortMarkers(const QList<TSortMarker> &markers)
{
    m_markers = markers;
    viewport()->update();
}

QPolygon TGridTitleHeader::SortArrow(const QRect &section, bool descending)
{
    const int x = section.right() - MarkerSpace + 4;
    const int y = section.center().y();
    if (descending)
        return QPolygon({QPoint(x, y - 2), QPoint(x + 7, y - 2), QPoint(x + 3, y + 2)});
    return QPolygon({QPoint(x, y + 2), QPoint(x + 7, y + 2), QPoint(x + 3, y - 2)});
}

int TGridTitleHeader::editorHeight() const
{
    return m_filterRow ? fontMetrics().height() + 8 : 0;
}

int TGridTitleHeader::titleHeight() const
{
    return QHeaderView::sizeHint().height();
}

QSize TGridTitleHeader::sizeHint() const
{
    QSize size = QHeaderView::sizeHint();
    size.setHeight(size.height() + editorHeight());
    return size;
}

void TGridTitleHeader::updateGeometries()
{
    // The editors live in a margin below the titles' own viewport.
    setViewportMargins(0, 0, 0, editorHeight());
    QHeaderView::updateGeometries();
    PlaceEditors();
}

void TGridTitleHeader::PauseAgain()
{
    m_pause->start();
}

void TGridTitleHeader::rebuildEditors()
{
    const int wanted = count();
    while (m_editors.size() > wanted)
        delete m_editors.takeLast();
    while (m_editors.size() < wanted) {
        const int logical = int(m_editors.size());
        auto *editor = new QLineEdit(this);
        editor->setObjectName(u"FilterEdit%1"_s.arg(logical));
        editor->setPlaceholderText(u"筛选"_s);
        editor->setClearButtonEnabled(true);
        connect(editor, &QLineEdit::textEdited, this, [this, logical] {
            m_pausedSection = logical;
            m_pause->start();
        });
        // Enter is taken here: a line edit passes it on to its parents, and
        // in the grid Enter would run the window's modify action.
        editor->installEventFilter(this);
        m_editors.append(editor);
    }
    PlaceEditors();
}

bool TGridTitleHeader::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        const int logical = int(m_editors.indexOf(qobject_cast<QLineEdit *>(watched)));
        if (logical >= 0 && (key == Qt::Key_Return || key == Qt::Key_Enter)) {
            m_pause->stop();
            emit FilterEntered(logical);
            return true;
        }
    }
    return QHeaderView::eventFilter(watched, event);
}

void TGridTitleHeader::PlaceEditors()
{
    const int y = titleHeight();
    const int h = editorHeight();
    for (int logical = 0; logical < m_editors.size(); ++logical) {
        QLineEdit *editor = m_editors[logical];
        const bool shown = m_filterRow && !isSectionHidden(logical);
        editor->setVisible(shown);
        if (shown)
            editor->setGeometry(sectionViewportPosition(logical), y, sectionSize(logical), h);
    }
}

void TGridTitleHeader::paintSection(QPainter *painter, const QRect &rect, int logical) const
{
    painter->save();
    QHeaderView::paintSection(painter, rect, logical);
    painter->restore();
    for (qsizetype i = 0; i < m_markers.size(); ++i) {
        if (m_markers[i].section != logical)
            continue;
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing);
        painter->setPen(Qt::NoPen);
        painter->setBrush(palette().color(QPalette::WindowText));
        painter->drawPolygon(SortArrow(rect, m_markers[i].descending));
        if (m_markers.size() > 1) {
            QFont small = font();
            small.setPointSizeF(std::max(5.0, small.pointSizeF() * 0.7));
            painter->setFont(small);
            painter->setPen(palette().color(QPalette::WindowText));
            const QRect number(rect.right() - MarkerSpace + 3, rect.top() + 1, MarkerSpace - 4,
                               rect.height() / 2 - 2);
            painter->drawText(number, Qt::AlignCenter, QString::number(i + 1));
        }
        painter->restore();
    }
}

QSize TGridTitleHeader::sectionSizeFromContents(int logical) const
{
    QSize size = QHeaderView::sectionSizeFromContents(logical);
    size.setWidth(size.width() + MarkerSpace);
    return size;
}

void TGridTitleHeader::mouseReleaseEvent(QMouseEvent *event)
{
    // Kept for the click signal that the base class sends from here.
    m_clickModifiers = event->modifiers();
    QHeaderView::mouseReleaseEvent(event);
}
