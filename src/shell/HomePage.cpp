#include "HomePage.h"

#include "Rights.h"
#include "data/AppPaths.h"
#include "data/CurrentUser.h"
#include "data/DbError.h"
#include "data/DbHelpers.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QRegularExpression>
#include <QSaveFile>

using namespace Qt::StringLiterals;

QString ProducePage(const QString &templateText, const TTagHandler &handler)
{
    static const QRegularExpression tag(u"<#(\\w+)((?:\\s+\\w+=(?:\"[^\"]*\"|[^\\s>]*))*)\\s*>"_s);
    static const QRegularExpression param(u"(\\w+)=(?:\"([^\"]*)\"|([^\\s>]*))"_s);
    QString out;
    out.reserve(templateText.size());
    qsizetype last = 0;
    for (auto it = tag.globalMatch(templateText); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        out += QStringView(templateText).mid(last, m.capturedStart() - last);
        QMap<QString, QString> params;
        for (auto p = param.globalMatch(m.captured(2)); p.hasNext();) {
            const QRegularExpressionMatch pm = p.next();
            params.insert(pm.captured(1), pm.captured(2).isNull() ? pm.captured(3) : pm.captured(2));
        }
        out += handler(m.captured(1), params);
        last = m.capturedEnd();
    }
    out += QStringView(templateText).mid(last);
    return out;
}

QString LoginInfoText()
{
    const QString user = CurrentUser().UserCode.isEmpty() ? u"请先登录"_s : CurrentUser().UserCode;
    const QDate today = GetServerNow().date();
    const QString date = QLocale(QLocale::Chinese, QLocale::China)
                             .toString(today, u"yyyy年M月d日 dddd"_s);
    return u"您好，%1。今天是：%2！"_s.arg(user, date);
}

QString FunRightText(int funKey)
{
    return HasOpenRight(funKey) ? u"有权限"_s : u"无权限"_s;
}

QString HomePageTag(const QString &tag, const QMap<QString, QString> &params)
{
    if (tag.compare(u"LoginInfo"_s, Qt::CaseInsensitive) == 0)
        return LoginInfoText();
    if (tag.compare(u"funRight"_s, Qt::CaseInsensitive) == 0)
        return FunRightText(params.value(u"FunKey"_s).toInt());
    return {};
}

int FunctionCodeFromAddress(const QString &address)
{
    bool ok = false;
    const int code = address.right(2).toInt(&ok);
    return ok && code > 0 ? code : 0;
}

QString HomePageTemplatePath()
{
    return GetProgramPath() + u"Resources/HomePage.html"_s;
}

QString HomePageTempPath()
{
    return GetAppPath() + u"Resources/HomePageTemp.html"_s;
}

QString ProduceHomePageFile()
{
    const QString templatePath = HomePageTemplatePath();
    QFile in(templatePath);
    if (!in.open(QIODevice::ReadOnly))
        throw TDbError(u"无法读取首页模板文件：%1"_s.arg(QDir::toNativeSeparators(templatePath)),
                       in.errorString());
    const QString page = ProducePage(QString::fromUtf8(in.readAll()), HomePageTag);

    const QString outPath = HomePageTempPath();
    QDir().mkpath(QFileInfo(outPath).absolutePath());
    QSaveFile out(outPath);
    if (!out.open(QIODevice::WriteOnly) || out.write(page.toUtf8()) < 0 || !out.commit())
        throw TDbError(u"无法写入首页文件：%1"_s.arg(QDir::toNativeSeparators(outPath)),
                       out.errorString());
    return outPath;
}
