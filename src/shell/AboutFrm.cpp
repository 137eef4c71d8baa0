#include "AboutFrm.h"

#include "ModalSeam.h"
#include "ShellHelpers.h"
#include "ShellPictures.h"
#include "data/AppPaths.h"
#include "data/ParManager.h"

#include <QApplication>
#include <QFrame>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

// The desktop's system information programs, first one found.
void runSystemInformation()
{
    for (const QString &program : {u"hardinfo"_s, u"gnome-system-monitor"_s,
                                   u"plasma-systemmonitor"_s, u"ksysguard"_s,
                                   u"mate-system-monitor"_s, u"xfce4-taskmanager"_s}) {
        const QString path = QStandardPaths::findExecutable(program);
        if (!path.isEmpty() && QProcess::startDetached(path, {}))
            return;
    }
}

} // namespace

TAboutForm::TAboutForm(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint)
{
    setObjectName(u"AboutForm"_s);
    setWindowTitle(u"关于"_s);

    auto *icon = new QLabel(this);
    icon->setPixmap(ApplicationIcon().pixmap(64, 64));
    icon->setAlignment(Qt::AlignTop);
    auto *title = new QLabel(GetApplicationTitle(), this);
    QFont big = title->font();
    big.setPointSize(big.pointSize() + 5);
    big.setBold(true);
    title->setFont(big);
    lblAppVer = new QLabel(u"软件版本："_s + GetVersionText(QApplication::applicationFilePath()), this);
    lblAppVer->setObjectName(u"lblAppVer"_s);

    auto *licensed = new QLabel(u"本软件授权给："_s, this);
    PanCorpName = new QLabel(ParManager->GetCorpName(), this);
    PanCorpName->setObjectName(u"PanCorpName"_s);
    PanCorpName->setFrameShape(QFrame::StyledPanel);
    PanCorpName->setFrameShadow(QFrame::Sunken);
    PanCorpName->setMargin(6);
    PanCorpName->setAlignment(Qt::AlignCenter);

    lblUrl = new QLabel(u"Orvella软件网站"_s, this);
    lblUrl->setObjectName(u"lblUrl"_s);
    lblUrl->setCursor(Qt::PointingHandCursor);
    lblUrl->installEventFilter(this);
    setUrlHot(false);

    auto *text = new QVBoxLayout;
    text->setSpacing(6);
    text->addWidget(title);
    text->addWidget(lblAppVer);
    text->addSpacing(8);
    text->addWidget(licensed);
    text->addWidget(PanCorpName);
    text->addSpacing(4);
    text->addWidget(lblUrl);
    auto *top = new QHBoxLayout;
    top->setSpacing(18);
    top->addWidget(icon);
    top->addLayout(text, 1);

    btnSysInfo = new QPushButton(u"系统信息(&S)..."_s, this);
    btnSysInfo->setObjectName(u"btnSysInfo"_s);
    BtnOK = new QPushButton(u"确定"_s, this);
    BtnOK->setObjectName(u"BtnOK"_s);
    BtnOK->setDefault(true);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btnSysInfo);
    buttons->addWidget(BtnOK);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(22, 20, 22, 14);
    layout->addLayout(top);
    layout->addSpacing(14);
    layout->addLayout(buttons);
    setMinimumWidth(420);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(btnSysInfo, &QPushButton::clicked, this, [] { runSystemInformation(); });
    connect(BtnOK, &QPushButton::clicked, this, &QDialog::accept);
}

void TAboutForm::setUrlHot(bool hot)
{
    lblUrl->setStyleSheet(hot ? u"color: red; text-decoration: none;"_s
                              : u"color: blue; text-decoration: underline;"_s);
}

bool TAboutForm::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == lblUrl) {
        if (event->type() == QEvent::Enter)
            setUrlHot(true);
        else if (event->type() == QEvent::Leave)
            setUrlHot(false);
        else if (event->type() == QEvent::MouseButtonRelease)
            OpenWebSite();
    }
    return QDialog::eventFilter(watched, event);
}

void TAboutForm::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_F1) {
        ShowHelpTopic(u"SysIntro.html"_s);
        return;
    }
    QDialog::keyPressEvent(event);
}

void ShowAbout()
{
    TAboutForm form(QApplication::activeWindow());
    ExecModal(form);
}
