#pragma once

// The print and export dialog behind the "打印(&P)" and "导出(&E)" actions of
// every list window, and the helpers it runs: the print goes through the
// grid printer's preview, the export through one of the exporters.

#include "GridExport.h"

#include <QDialog>
#include <memory>
#include <vector>

class QButtonGroup;
class QCheckBox;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTabWidget;
class QWidget;
class TDataGrid;

enum TGridOutputMode { gomPrint = 1, gomExport = 2 };

class TGridOutputForm : public QDialog
{
    Q_OBJECT
public:
    explicit TGridOutputForm(QWidget *parent = nullptr);
    ~TGridOutputForm() override;

    // The export formats in the order of the format box: Word (RTF), Excel,
    // HTML, PDF.
    std::vector<std::unique_ptr<TGridExporter>> ExportFormats;

    QTabWidget *MainPage = nullptr;
    QWidget *TabPrint = nullptr;
    QWidget *TabExport = nullptr;
    QLineEdit *EditTitle = nullptr;
    QLineEdit *EditMan = nullptr;
    QLineEdit *EditDate = nullptr;
    QRadioButton *RadPortrait = nullptr;
    QRadioButton *RadLandscape = nullptr;
    QGroupBox *RadExportFormats = nullptr;
    QButtonGroup *ExportFormatButtons = nullptr;
    QLineEdit *EditExportFile = nullptr;
    QPushButton *BtnSelectFile = nullptr;
    QCheckBox *ChkExportOpen = nullptr;
    QPushButton *BtnOK = nullptr;
    QPushButton *BtnCancel = nullptr;
    QPushButton *BtnHelp = nullptr;

    // Shows only the page of the mode.
    void SetMode(TGridOutputMode mode);
    TGridOutputMode Mode() const { return m_mode; }
    int SelectedFormat() const;
    void SelectFormat(int index);
    const TGridExporter &SelectedExporter() const;
    // The text of a format in the format box: "label (pattern)".
    QString FormatText(int index) const;
    // The file name to write: as typed, with the format's extension added
    // when it has none.
    QString ExportFileName() const;

    // What BtnOK does: on the export page a file name is needed.
    void Confirm();
    // What BtnSelectFile does: the save dialog for the selected format.
    void SelectFile();

private:
    QWidget *buildPrintPage();
    QWidget *buildExportPage();

    TGridOutputMode m_mode = gomPrint;
};

// The dialog for a grid: mode gomPrint previews the print, gomExport writes a
// file. The title proposed is printed above the grid; the top information
// under it. No effect without a grid.
void ShowGridOutput(TDataGrid *grid, int mode, const QString &title, const QString &topInfo);

// Writes the grid's shown columns, with only its selected rows when it has
// a row selection, and opens the file afterwards when asked.
void ExportGrid(TDataGrid *grid, const TGridExporter &exporter, const QString &fileName,
                bool openAfter);

// The rows a print of the grid holds: the selected rows, or every row.
int CountOutputRecords(TDataGrid *grid);

// A print preview lays out every page before it shows the first, so a long
// list is previewed only when the user confirms it; true for a list of at
// most LargePrintRows rows without asking.
inline constexpr int LargePrintRows = 5000;
bool ConfirmLargePrint(int rows);
