#include "ImageList.h"

#include <QApplication>
#include <QHash>
#include <QStyle>

using namespace Qt::StringLiterals;

namespace {

struct Picture {
    const char16_t *themeName;
    QStyle::StandardPixmap fallback;
};

const QHash<int, Picture> &pictures()
{
    static const QHash<int, Picture> map{
        {0, {u"document-new", QStyle::SP_FileIcon}},
        {1, {u"document-properties", QStyle::SP_FileDialogDetailedView}},
        {2, {u"edit-delete", QStyle::SP_TrashIcon}},
        {3, {u"edit-find", QStyle::SP_FileDialogContentsView}},
        {4, {u"edit-find-replace", QStyle::SP_FileDialogContentsView}},
        {5, {u"accessories-calculator", QStyle::SP_FileDialogListView}},
        {6, {u"document-print", QStyle::SP_DialogSaveButton}},
        {7, {u"help-contents", QStyle::SP_DialogHelpButton}},
        {8, {u"help-about", QStyle::SP_MessageBoxInformation}},
        {9, {u"web-browser", QStyle::SP_DriveNetIcon}},
        {12, {u"x-office-database", QStyle::SP_DriveHDIcon}},
        {13, {u"x-office-spreadsheet", QStyle::SP_FileIcon}},
        {14, {u"application-exit", QStyle::SP_DialogCloseButton}},
        {16, {u"document-save-as", QStyle::SP_DialogSaveButton}},
        {17, {u"view-refresh", QStyle::SP_BrowserReload}},
        {18, {u"preferences-system", QStyle::SP_ComputerIcon}},
        {19, {u"document-open", QStyle::SP_DialogOpenButton}},
        {20, {u"system-run", QStyle::SP_CommandLink}},
        {21, {u"accessories-text-editor", QStyle::SP_FileDialogDetailedView}},
        {22, {u"go-next", QStyle::SP_ArrowRight}},
        {25, {u"edit-copy", QStyle::SP_FileDialogListView}},
        {27, {u"view-list", QStyle::SP_FileDialogListView}},
        {32, {u"go-jump", QStyle::SP_ArrowForward}},
    };
    return map;
}

} // namespace

QIcon ImgList16(int index)
{
    const auto it = pictures().constFind(index);
    if (it == pictures().cend())
        return {};
    const QIcon themed = QIcon::fromTheme(QString::fromUtf16(it->themeName));
    if (!themed.isNull())
        return themed;
    return QApplication::style()->standardIcon(it->fallback);
}
