// The small shared dialogs and helpers of the windows.

#include "support/Answers.h"

#include "data/AppPaths.h"
#include "shell/InputDialogFrm.h"
#include "shell/ShellHelpers.h"
#include "shell/HelpFrm.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

TEST(InputText, OkWritesBackAndCancelKeepsTheText)
{
    QString text = u"原值"_s;
    {
        TModalAnswer answer([](QDialog &d) {
            auto &dlg = static_cast<TInputDialogForm &>(d);
            EXPECT_EQ(dlg.windowTitle(), u"书刊条码"_s);
            EXPECT_EQ(dlg.LblPrompt->text(), u"请扫描条码："_s);
            EXPECT_EQ(dlg.EditValue->text(), u"原值"_s);
            dlg.EditValue->setText(u"0012"_s);
            // Enter in the edit box is OK.
            QTest::keyClick(dlg.EditValue, Qt::Key_Return);
            return dlg.result();
        });
        EXPECT_TRUE(InputText(u"书刊条码"_s, u"请扫描条码："_s, text));
    }
    EXPECT_EQ(text, u"0012"_s);

    {
        TModalAnswer answer([](QDialog &d) {
            auto &dlg = static_cast<TInputDialogForm &>(d);
            EXPECT_EQ(dlg.windowTitle(), u"输入"_s);          // defaults kept
            EXPECT_EQ(dlg.LblPrompt->text(), u"请输入内容："_s);
            dlg.EditValue->setText(u"改了"_s);
            dlg.BtnCancel->click();
            return dlg.result();
        });
        EXPECT_FALSE(InputText({}, {}, text));
    }
    EXPECT_EQ(text, u"0012"_s);

    // The variant starts from a value and writes to another text.
    QString out = u"旧"_s;
    TModalAnswer answer([](QDialog &) { return int(QDialog::Rejected); });
    EXPECT_FALSE(InputText(u"t"_s, u"p"_s, u"初值"_s, out));
    EXPECT_EQ(out, u"初值"_s);
}

TEST(Help, TopicsOpenAndUnknownOnesShowTheContents)
{
    ShowHelpTopic(u"no-such-topic.html"_s);
    EXPECT_EQ(THelpForm::Instance()->CurrentTopic(), u"index.html"_s);
    ShowHelpTopic();
    EXPECT_EQ(THelpForm::Instance()->CurrentTopic(), u"index.html"_s);
    THelpForm::Instance()->close();
}

TEST(Help, OverAModalWindowTheHelpBelongsToIt)
{
    {
        // A modal window blocks every other window: help asked for from it
        // must be its child to be read and closed at all.
        QDialog modal;
        modal.setModal(true);
        modal.show();
        ShowHelpTopic(u"SysStartup.html"_s);
        THelpForm *help = THelpForm::Instance();
        EXPECT_EQ(help->parentWidget(), &modal);
        EXPECT_TRUE(help->isVisible());
        EXPECT_TRUE(help->isWindow());
        EXPECT_EQ(help->CurrentTopic(), u"SysStartup.html"_s);
    }
    // It went with its window; without a modal window it stands alone.
    ShowHelpTopic(u"SysIntro.html"_s);
    EXPECT_EQ(THelpForm::Instance()->parentWidget(), nullptr);
    EXPECT_EQ(THelpForm::Instance()->CurrentTopic(), u"SysIntro.html"_s);
    THelpForm::Instance()->close();
}

TEST(Version, OwnExecutablesCarryTheVersion)
{
    EXPECT_TRUE(GetFileVersion(u"/etc/hostname"_s).isEmpty());
    const QString self = GetProgramPath() + u"Vellumark"_s;
    if (QFile::exists(self)) {
        EXPECT_EQ(GetFileVersion(self), QStringLiteral(VELLUMARK_VERSION));
        EXPECT_TRUE(GetVersionText(self).startsWith(QStringLiteral(VELLUMARK_VERSION) + u'.'));
        EXPECT_EQ(GetVersionText(self).size(), QStringLiteral(VELLUMARK_VERSION).size() + 7);
    }
}

} // namespace
