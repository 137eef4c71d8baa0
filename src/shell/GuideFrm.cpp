#include "GuideFrm.h"

#include "ModalSeam.h"
#include "ShellHelpers.h"
#include "ShellPictures.h"

#include <QApplication>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

constexpr int kWidth = 600;

QLabel *wrapped(const QString &text, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setWordWrap(true);
    return label;
}

QGroupBox *group(const QString &title, const QString &hint, const QStringList &texts,
                 QWidget *parent)
{
    auto *box = new QGroupBox(parent);
    auto *layout = new QGridLayout(box);
    auto *titleLabel = new QLabel(u"<b>%1</b>"_s.arg(title.toHtmlEscaped()), box);
    layout->addWidget(titleLabel, 0, 0);
    if (!hint.isEmpty()) {
        auto *hintLabel = new QLabel(hint, box);
        hintLabel->setStyleSheet(u"color: #1f6f3f;"_s);
        layout->addWidget(hintLabel, 0, 1, Qt::AlignRight);
    }
    int row = 1;
    for (const QString &text : texts)
        layout->addWidget(wrapped(text, box), row++, 0, 1, 2);
    return box;
}

} // namespace

TGuideForm::TGuideForm(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint)
{
    setObjectName(u"GuideForm"_s);
    setWindowTitle(u"快速指南"_s);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 12);
    auto *banner = new QLabel(this);
    banner->setPixmap(GuideBanner(kWidth));
    layout->addWidget(banner);

    auto *body = new QVBoxLayout;
    body->setContentsMargins(12, 4, 12, 0);
    body->addWidget(group(
        u"基本使用流程"_s, {},
        {u"Orvella图书馆管理系统的基本使用流程为：录入书刊信息－录入读者信息－借书还书续借；只有录入书刊读者等基本资料，才能依据这些信息进行借书还书等业务操作。"_s},
        this));
    body->addWidget(group(
        u"录入书刊信息"_s, u"点击主界面的“书刊信息维护“启动此功能。"_s,
        {u"点击“新增”添加新的书刊信息，在出现的界面中输入相关项目的内容，同时点击“添加卷册复本条形码”输入每册复本的条形码等信息，所有信息确认无误后，点击“保存”完成录入。"_s},
        this));
    body->addWidget(group(
        u"录入读者信息"_s, u"点击主界面的“读者信息维护“启动此功能。"_s,
        {u"点击“新增”添加新的读者信息，在读者资料所需的信息中，“证卡编码”即为借书证的编号，可手动输入也可通过相关读卡器刷入；同时软件支持从摄像头、数码相机等设备自动拍摄读者照片。"_s},
        this));
    body->addWidget(group(
        u"借书还书续借"_s, u"点击主界面的“借书还书续借“启动此功能。"_s,
        {u"首先点击界面的借书、还书、续借选择当前要操作的功能，然后手动或通过扫描枪、读卡器等设备分别查找当前要处理的书刊、读者信息，最后依照软件提示确认即可完成相应的功能。"_s},
        this));
    QGroupBox *other = group(
        u"其它功能提示"_s, {},
        {u"软件支持条码扫描枪、ID 卡读卡器等设备，自行安装无需驱动、将光标定位到相应输入框扫描、无需在软件中进行特殊设置即可使用；"_s,
         u"软件中每个表格上方都有一空行，此空行用于针对其所在列来查询数据，如在“书刊名称”列所在空行输入“中国”并回车，将会显示书刊名称包含”中国“这两个字的所有书刊信息；"_s,
         u"软件中每个表格的内容都可以像 Excel 中那样进行拖选和改变每个列的宽度和位置，同时点击工具栏上的“打印”按钮可将选中内容或全部内容打印、导出至 Word、Excel 等格式。"_s},
        this);
    LblHelp = new QLabel(u"<a href=\"help\">其它功能及更详细的使用指南请查看：用户手册</a>"_s, other);
    LblHelp->setObjectName(u"LblHelp"_s);
    LblHelp->setCursor(Qt::PointingHandCursor);
    static_cast<QGridLayout *>(other->layout())->addWidget(LblHelp, 4, 0, 1, 2);
    connect(LblHelp, &QLabel::linkActivated, this, [] { ShowHelpTopic(HelpKeyword()); });
    body->addWidget(other);
    layout->addLayout(body);

    // The wrapped texts decide the height at the guide's fixed width.
    setFixedSize(kWidth, layout->hasHeightForWidth() ? layout->totalHeightForWidth(kWidth)
                                                     : sizeHint().height());
}

void ShowGuide()
{
    TGuideForm form(QApplication::activeWindow());
    ExecModal(form);
}
