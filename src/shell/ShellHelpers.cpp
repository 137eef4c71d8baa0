#include "ShellHelpers.h"

#include "HelpFrm.h"
#include "data/AppPaths.h"
#include "data/Messages.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>
#include <QWidget>

using namespace Qt::StringLiterals;

namespace {

// The desktop programs that stand in for the two Windows accessories.
QStringList standIns(const QString &file)
{
    const QString name = file.toLower();
    if (name == u"calc.exe")
        return {u"gnome-calculator"_s, u"kcalc"_s, u"mate-calc"_s, u"galculator"_s,
                u"qalculate-gtk"_s, u"xcalc"_s};
    if (name == u"notepad.exe")
        return {u"gnome-text-editor"_s, u"gedit"_s, u"kate"_s, u"kwrite"_s, u"mousepad"_s,
                u"pluma"_s, u"xed"_s, u"leafpad"_s, u"featherpad"_s};
    return {};
}

} // namespace

bool RunProgram(const QString &file, const QString &parameters)
{
    const QStringList args = QProcess::splitCommand(parameters);
    const QStringList candidates = standIns(file);
    if (!candidates.isEmpty()) {
        for (const QString &program : candidates) {
            const QString path = QStandardPaths::findExecutable(program);
            if (!path.isEmpty() && QProcess::startDetached(path, args))
                return true;
        }
        ShowWarning(u"没有找到可以启动的程序（%1）。"_s.arg(candidates.join(u"、"_s)));
        return false;
    }
    const QFileInfo info(file);
    if (info.isExecutable() && info.isFile() && QProcess::startDetached(file, args))
        return true;
    const QUrl url = info.exists() ? QUrl::fromLocalFile(info.absoluteFilePath())
                                   : QUrl::fromUserInput(file);
    if (QDesktopServices::openUrl(url))
        return true;
    ShowWarning(u"无法打开：%1"_s.arg(file));
    return false;
}

void OpenWebSite()
{
    // The program's own pages ship with it, so they open without a network.
    RunProgram(HelpTopicFolder() + u"index.html"_s);
}

QString HelpTopicFolder()
{
    return GetProgramPath() + u"help/HTML/"_s;
}

void ShowHelpTopic(const QString &keyword)
{
    THelpForm::Instance()->ShowTopic(keyword);
}

void SetAppWindowStyle(QWidget *window)
{
    // A top-level window without a parent gets its own taskbar entry.
    if (window)
        window->setWindowFlag(Qt::Window, true);
}
