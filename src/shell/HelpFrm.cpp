#include "HelpFrm.h"

#include "ShellHelpers.h"

#include <QAction>
#include <QApplication>
#include <QDesktopServices>
#include <QFileInfo>
#include <QPointer>
#include <QTextBrowser>
#include <QToolBar>

using namespace Qt::StringLiterals;

THelpForm *THelpForm::Instance()
{
    static QPointer<THelpForm> form;
    if (!form)
        form = new THelpForm;
    return form;
}

THelpForm::THelpForm(QWidget *parent) : QMainWindow(parent)
{
    setObjectName(u"HelpForm"_s);
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(u"帮助"_s);
    resize(820, 620);

    m_browser = new QTextBrowser(this);
    m_browser->setObjectName(u"HelpBrowser"_s);
    m_browser->setSearchPaths({HelpTopicFolder()});
    m_browser->setOpenExternalLinks(true);
    setCentralWidget(m_browser);

    auto *bar = addToolBar(u"导航"_s);
    bar->setMovable(false);
    QAction *home = bar->addAction(u"目录"_s);
    QAction *back = bar->addAction(u"后退"_s);
    QAction *forward = bar->addAction(u"前进"_s);
    back->setEnabled(false);
    forward->setEnabled(false);
    connect(home, &QAction::triggered, this, [this] { ShowTopic({}); });
    connect(back, &QAction::triggered, m_browser, &QTextBrowser::backward);
    connect(forward, &QAction::triggered, m_browser, &QTextBrowser::forward);
    connect(m_browser, &QTextBrowser::backwardAvailable, back, &QAction::setEnabled);
    connect(m_browser, &QTextBrowser::forwardAvailable, forward, &QAction::setEnabled);
    connect(m_browser, &QTextBrowser::sourceChanged, this,
            [this] { setWindowTitle(u"帮助 - "_s + m_browser->documentTitle()); });
}

void THelpForm::ShowTopic(const QString &keyword)
{
    followModalWindow();
    const QString folder = HelpTopicFolder();
    QString topic = keyword.trimmed();
    if (topic.isEmpty() || !QFileInfo::exists(folder + topic))
        topic = u"index.html"_s;
    m_browser->setSource(QUrl::fromLocalFile(folder + topic));
    show();
    raise();
    activateWindow();
}

void THelpForm::followModalWindow()
{
    // A modal window blocks every window but its own children, so help asked
    // for from the login window or a function window must belong to it to
    // be read at all; it goes with that window when it closes.
    QWidget *modal = QApplication::activeModalWidget();
    if (modal == this || parentWidget() == modal || (modal && isAncestorOf(modal)))
        return;
    const QRect geometry = this->geometry();
    setParent(modal, windowFlags() | Qt::Window);
    if (geometry.isValid())
        setGeometry(geometry);
}

QString THelpForm::CurrentTopic() const
{
    return QFileInfo(m_browser->source().toLocalFile()).fileName();
}
