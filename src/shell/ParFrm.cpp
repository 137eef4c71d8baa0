#include "ParFrm.h"

#include "Actions.h"
#include "ParEditing.h"
#include "ShellHelpers.h"
#include "data/Schema.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

int columnSize(const QString &column)
{
    const Schema::Table *t = Schema::FindTable(u"Par_tab"_s);
    const Schema::Column *c = t ? t->column(column) : nullptr;
    return c && c->size > 0 ? c->size : 32767;
}

} // namespace

TParForm::TParForm(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint)
{
    setObjectName(u"ParForm"_s);
    setWindowTitle(u"系统参数设置"_s);
    buildLayout();

    const TParValues v = BeginParEdit();
    EditSystemName->setText(v.SystemName);
    EditCorpName->setText(v.CorpName);
    ChkIsExitConfirm->setChecked(v.IsExitConfirm);
    ChkIsShowUserListOnLogin->setChecked(v.IsShowUserListOnLogin);
    ChkIsMaxBookManager->setChecked(v.IsMaxBookManager);
    EditSystemName->setFocus();
}

TParForm::~TParForm()
{
    try {
        EndParEdit();
    } catch (...) {
        // The row was not saved; nothing is lost by failing to close.
    }
}

void TParForm::buildLayout()
{
    EditSystemName = new QLineEdit(this);
    EditSystemName->setObjectName(u"EditSystemName"_s);
    EditSystemName->setMaxLength(columnSize(u"SystemName"_s));
    EditCorpName = new QLineEdit(this);
    EditCorpName->setObjectName(u"EditCorpName"_s);
    EditCorpName->setMaxLength(columnSize(u"CorpName"_s));
    ChkIsExitConfirm = new QCheckBox(u"退出系统时显示确认对话框"_s, this);
    ChkIsExitConfirm->setObjectName(u"ChkIsExitConfirm"_s);
    ChkIsShowUserListOnLogin = new QCheckBox(u"在登录界面显示用户列表"_s, this);
    ChkIsShowUserListOnLogin->setObjectName(u"ChkIsShowUserListOnLogin"_s);
    ChkIsMaxBookManager = new QCheckBox(u"书刊信息维护窗口打开时最大化"_s, this);
    ChkIsMaxBookManager->setObjectName(u"ChkIsMaxBookManager"_s);

    auto *page = new QWidget;
    auto *form = new QFormLayout(page);
    form->setContentsMargins(18, 18, 18, 18);
    form->setVerticalSpacing(10);
    auto *lblName = new QLabel(u"系统名称(&N)"_s, page);
    lblName->setBuddy(EditSystemName);
    auto *lblCorp = new QLabel(u"使用单位(&U)"_s, page);
    lblCorp->setBuddy(EditCorpName);
    form->addRow(lblName, EditSystemName);
    form->addRow(lblCorp, EditCorpName);
    form->addRow(ChkIsExitConfirm);
    form->addRow(ChkIsShowUserListOnLogin);
    form->addRow(ChkIsMaxBookManager);
    EditSystemName->setMinimumWidth(300);

    auto *tabs = new QTabWidget(this);
    tabs->addTab(page, u"基本信息"_s);

    BtnSave = new QPushButton(u"保存(&S)"_s, this);
    BtnSave->setObjectName(u"BtnSave"_s);
    BtnCancel = new QPushButton(u"取消(&C)"_s, this);
    BtnCancel->setObjectName(u"BtnCancel"_s);
    BtnHelp = new QPushButton(u"帮助(&H)"_s, this);
    BtnHelp->setObjectName(u"BtnHelp"_s);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(BtnSave);
    buttons->addWidget(BtnCancel);
    buttons->addWidget(BtnHelp);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(tabs);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    OnClicked(BtnSave, [this] { save(); });
    connect(BtnCancel, &QPushButton::clicked, this, &QDialog::reject);
    OnClicked(BtnHelp, [] { ShowHelpTopic(HelpKeyword()); });
}

void TParForm::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_F1) {
        BtnHelp->click();
        return;
    }
    QDialog::keyPressEvent(event);
}

void TParForm::save()
{
    TParValues v;
    v.SystemName = EditSystemName->text();
    v.CorpName = EditCorpName->text();
    v.IsExitConfirm = ChkIsExitConfirm->isChecked();
    v.IsShowUserListOnLogin = ChkIsShowUserListOnLogin->isChecked();
    v.IsMaxBookManager = ChkIsMaxBookManager->isChecked();
    SaveParEdit(v);
    accept();
}
