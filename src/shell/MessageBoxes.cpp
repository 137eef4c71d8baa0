#include "MessageBoxes.h"

#include "data/Messages.h"

#include <QApplication>
#include <QMessageBox>

namespace {

bool showBox(TMessageKind kind, const QString &caption, const QString &text)
{
    QMessageBox box(QApplication::activeWindow());
    box.setWindowTitle(caption);
    box.setText(text);
    switch (kind) {
    case TMessageKind::Info: box.setIcon(QMessageBox::Information); break;
    case TMessageKind::Warning: box.setIcon(QMessageBox::Warning); break;
    case TMessageKind::Error: box.setIcon(QMessageBox::Critical); break;
    case TMessageKind::Confirm:
        box.setIcon(QMessageBox::Question);
        box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        box.setDefaultButton(QMessageBox::Ok);
        return box.exec() == QMessageBox::Ok;
    }
    box.setStandardButtons(QMessageBox::Ok);
    box.exec();
    return true;
}

} // namespace

void InstallMessageBoxes()
{
    SetMessagePresenter(showBox);
}
