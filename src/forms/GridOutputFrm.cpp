#include "GridOutputFrm.h"

#include "DataGrid.h"
#include "DataGridSource.h"
#include "GridPrinter.h"
#include "PdfGridExporter.h"

#include "data/AppPaths.h"
#include "data/CurrentUser.h"
#include "data/DbHelpers.h"
#include "data/Messages.h"
#include "shell/Actions.h"
#include "shell/ModalSeam.h"
#include "shell/ShellHelpers.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScopeGuard>
#include <QTabWidget>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

QLineEdit *lineEdit(QWidget *parent, const QString &name)
{
    auto *e = new QLineEdit(parent);
    e->setObjectName(name);
    e->setMinimumWidth(260);
    return e;
}

void addRow(QFormLayout *form, const QString &caption, QWidget *input)
{
    auto *label = new QLabel(caption, input->parentWidget());
    label->setBuddy(input);
    form->addRow(label, input);
}

} // namespace

TGridOutputForm::TGridOutputForm(QWidget *parent) : QDialog(parent)
{
    setObjectName(u"GridOutputForm"_s);
    setWindowTitle(u"设置"_s);
    ExportFormats.push_back(std::make_unique<TRtfGridExporter>());
    ExportFormats.push_back(std::make_unique<TXlsxGridExporter>());
    ExportFormats.push_back(std::make_unique<THtmlGridExporter>());
    ExportFormats.push_back(std::make_unique<TPdfGridExporter>());

    MainPage = new QTabWidget(this);
    MainPage->setObjectName(u"MainPage"_s);
    TabPrint = buildPrintPage();
    TabExport = buildExportPage();
    MainPage->addTab(TabPrint, u"打印设置"_s);
    MainPage->addTab(TabExport, u"导出设置"_s);

    BtnOK = new QPushButton(u"确定(&O)"_s, this);
    BtnOK->setObjectName(u"BtnOK"_s);
    BtnOK->setDefault(true);
    BtnCancel = new QPushButton(u"取消(&C)"_s, this);
    BtnCancel->setObjectName(u"BtnCancel"_s);
    BtnHelp = new QPushButton(u"帮助(&H)"_s, this);
    BtnHelp->setObjectName(u"BtnHelp"_s);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(BtnOK);
    buttons->addWidget(BtnCancel);
    buttons->addWidget(BtnHelp);
    auto *main = new QVBoxLayout(this);
    main->addWidget(MainPage);
    main->addLayout(buttons);

    OnClicked(BtnOK, [this] { Confirm(); });
    connect(BtnCancel, &QPushButton::clicked, this, &QDialog::reject);
    OnClicked(BtnHelp, [] { ShowHelpTopic(u"SysCommFun.html"_s); });
    OnClicked(BtnSelectFile, [this] { SelectFile(); });
}

TGridOutputForm::~TGridOutputForm() = default;

QWidget *TGridOutputForm::buildPrintPage()
{
    auto *page = new QWidget(MainPage);
    page->setObjectName(u"TabPrint"_s);
    EditTitle = lineEdit(page, u"EditTitle"_s);
    EditMan = lineEdit(page, u"EditMan"_s);
    EditDate = lineEdit(page, u"EditDate"_s);
    RadPortrait = new QRadioButton(u"纵向"_s, page);
    RadPortrait->setObjectName(u"RadPortrait"_s);
    RadPortrait->setChecked(true);
    RadLandscape = new QRadioButton(u"横向"_s, page);
    RadLandscape->setObjectName(u"RadLandscape"_s);
    auto *orientation = new QWidget(page);
    auto *row = new QHBoxLayout(orientation);
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(RadPortrait);
    row->addWidget(RadLandscape);
    row->addStretch();
    auto *form = new QFormLayout(page);
    addRow(form, u"打印标题："_s, EditTitle);
    addRow(form, u"制表人："_s, EditMan);
    addRow(form, u"制表日期："_s, EditDate);
    auto *label = new QLabel(u"纸张方向："_s, page);
    label->setBuddy(RadPortrait);
    form->addRow(label, orientation);
    return page;
}

QWidget *TGridOutputForm::buildExportPage()
{
    auto *page = new QWidget(MainPage);
    page->setObjectName(u"TabExport"_s);
    RadExportFormats = new QGroupBox(u"导出格式"_s, page);
    RadExportFormats->setObjectName(u"RadExportFormats"_s);
    ExportFormatButtons = new QButtonGroup(this);
    auto *formats = new QVBoxLayout(RadExportFormats);
    for (int i = 0; i < int(ExportFormats.size()); ++i) {
        auto *button = new QRadioButton(FormatText(i), RadExportFormats);
        button->setObjectName(u"RadExportFormat%1"_s.arg(i));
        ExportFormatButtons->addButton(button, i);
        formats->addWidget(button);
    }
    SelectFormat(0);
    EditExportFile = lineEdit(page, u"EditExportFile"_s);
    BtnSelectFile = new QPushButton(u"..."_s, page);
    BtnSelectFile->setObjectName(u"BtnSelectFile"_s);
    BtnSelectFile->setFixedWidth(32);
    ChkExportOpen = new QCheckBox(u"导出后自动打开"_s, page);
    ChkExportOpen->setObjectName(u"ChkExportOpen"_s);
    ChkExportOpen->setChecked(true);
    auto *fileRow = new QHBoxLayout;
    fileRow->addWidget(EditExportFile, 1);
    fileRow->addWidget(BtnSelectFile);
    auto *label = new QLabel(u"文件名："_s, page);
    label->setBuddy(EditExportFile);
    auto *layout = new QVBoxLayout(page);
    layout->addWidget(RadExportFormats);
    layout->addWidget(label);
    layout->addLayout(fileRow);
    layout->addWidget(ChkExportOpen);
    layout->addStretch();
    return page;
}

void TGridOutputForm::SetMode(TGridOutputMode mode)
{
    m_mode = mode;
    MainPage->setTabVisible(MainPage->indexOf(TabExport), mode == gomExport);
    MainPage->setTabVisible(MainPage->indexOf(TabPrint), mode == gomPrint);
    MainPage->setCurrentWidget(mode == gomExport ? TabExport : TabPrint);
}

int TGridOutputForm::SelectedFormat() const
{
    return std::max(0, ExportFormatButtons->checkedId());
}

void TGridOutputForm::SelectFormat(int index)
{
    if (QAbstractButton *b = ExportFormatButtons->button(index))
        b->setChecked(true);
}

const TGridExporter &TGridOutputForm::SelectedExporter() const
{
    return *ExportFormats.at(size_t(SelectedFormat()));
}

QString TGridOutputForm::FormatText(int index) const
{
    const TGridExporter &e = *ExportFormats.at(size_t(index));
    return u"%1 (%2)"_s.arg(e.Label(), e.Pattern());
}

QString TGridOutputForm::ExportFileName() const
{
    const QString typed = EditExportFile->text().trimmed();
    if (typed.isEmpty() || !QFileInfo(typed).suffix().isEmpty())
        return typed;
    return typed + SelectedExporter().Pattern().mid(1);  // "*.xlsx" -> ".xlsx"
}

void TGridOutputForm::Confirm()
{
    if (m_mode == gomExport && EditExportFile->text().trimmed().isEmpty()) {
        ShowInfo(u"请选择或输入导出文件名。"_s);
        EditExportFile->setFocus();
        return;
    }
    accept();
}

void TGridOutputForm::SelectFile()
{
    const TGridExporter &e = SelectedExporter();
    QFileDialog dialog(this, u"导出到文件"_s);
    dialog.setObjectName(u"ExportFileDialog"_s);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(e.Pattern().mid(2));
    dialog.setNameFilter(FormatText(SelectedFormat()));
    const QString proposed = EditExportFile->text().isEmpty() ? EditTitle->text()
                                                              : EditExportFile->text();
    dialog.selectFile(proposed);
    if (ExecModal(dialog) == QDialog::Accepted && !dialog.selectedFiles().isEmpty())
        EditExportFile->setText(dialog.selectedFiles().constFirst());
}

void ShowGridOutput(TDataGrid *grid, int mode, const QString &title, const QString &topInfo)
{
    if (!grid)
        return;
    TGridOutputForm form(grid->window());
    form.SetMode(mode == gomExport ? gomExport : gomPrint);
    form.EditTitle->setText(title);
    form.EditMan->setText(CurrentUser().UserName);
    form.EditDate->setText(GetServerNowText(true));
    if (ExecModal(form) != QDialog::Accepted)
        return;
    if (form.Mode() == gomExport) {
        ExportGrid(grid, form.SelectedExporter(), form.ExportFileName(),
                   form.ChkExportOpen->isChecked());
        return;
    }
    const int records = CountOutputRecords(grid);
    if (!ConfirmLargePrint(records))
        return;
    TGridPrinter &printer = PubPrintGrid();
    printer.DBGridEh = grid;
    printer.Substitutions = {{u"%[Title]"_s, form.EditTitle->text()},
                             {u"%[TopInfoText]"_s, topInfo},
                             {u"%[PrintDate]"_s, form.EditDate->text()},
                             {u"%[RecCount]"_s, QString::number(records)}};
    printer.PageFooterLeft = u"制表人："_s + form.EditMan->text();
    printer.PageFooterRight = GetApplicationTitle();
    printer.Orientation = form.RadPortrait->isChecked() ? QPageLayout::Portrait
                                                        : QPageLayout::Landscape;
    printer.Preview();
}

void ExportGrid(TDataGrid *grid, const TGridExporter &exporter, const QString &fileName,
                bool openAfter)
{
    if (!grid)
        return;
    const TDataGridSource source(grid, grid->HasRowSelection(), grid->window()->windowTitle());
    {
        // A long list takes a while to write; the hourglass says so.
        QApplication::setOverrideCursor(Qt::WaitCursor);
        const auto restore = qScopeGuard([] { QApplication::restoreOverrideCursor(); });
        exporter.Write(source, fileName);
    }
    if (openAfter)
        RunProgram(fileName);
}

bool ConfirmLargePrint(int rows)
{
    if (rows <= LargePrintRows)
        return true;
    return AskConfirm(u"要打印的记录共有 %1 条，生成打印预览需要较长的时间。\n"
                      "可以先筛选，或选中要打印的行。是否继续？"_s.arg(rows));
}

int CountOutputRecords(TDataGrid *grid)
{
    if (!grid)
        return 0;
    if (grid->HasRowSelection())
        return grid->SelectedRowCount();
    return grid->DataSet() ? grid->DataSet()->RecordCount() : 0;
}
