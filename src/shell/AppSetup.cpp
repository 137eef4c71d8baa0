#include "AppSetup.h"

#include "data/AppPaths.h"
#include "shell/MessageBoxes.h"

#include <QApplication>
#include <QFont>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

using namespace Qt::StringLiterals;

void SetUpApplication(QApplication &app)
{
    QApplication::setApplicationName(u"Vellumark"_s);
    QApplication::setOrganizationName(u"Vellumark"_s);
    QApplication::setApplicationVersion(QStringLiteral(VELLUMARK_VERSION));
    QLocale::setDefault(QLocale(QLocale::Chinese, QLocale::China));
    InstallMessageBoxes();

    // Standard buttons and dialogs read 确定, 取消, 是, 否 like the rest.
    const QString dir = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    for (const QString &name : {u"qtbase_zh_CN"_s, u"qt_zh_CN"_s}) {
        auto *tr = new QTranslator(&app);
        if (tr->load(name, dir))
            QApplication::installTranslator(tr);
        else
            delete tr;
    }

    // The windows name the classic Chinese faces; map them to installed ones
    // so screens, prints and exports never show empty boxes.
    QFont::insertSubstitutions(u"宋体"_s, {u"Noto Serif CJK SC"_s, u"Noto Sans CJK SC"_s});
    QFont::insertSubstitutions(u"黑体"_s, {u"Noto Sans CJK SC"_s});
    QFont::insertSubstitutions(u"楷体"_s, {u"Noto Serif CJK SC"_s});
    QFont::insertSubstitutions(u"微软雅黑"_s, {u"Noto Sans CJK SC"_s});

    QFont base(u"Noto Sans CJK SC"_s, 10);
    QApplication::setFont(base);
}
