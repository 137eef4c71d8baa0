// The staff program: splash, data module, connection, main window. The main
// window starts the login once it is on screen.

#include "data/DMPas.h"
#include "data/Messages.h"
#include "shell/AppSetup.h"
#include "shell/MainFrm.h"
#include "shell/ShellPictures.h"
#include "shell/SplashFrm.h"

#include <QApplication>
#include <QScreen>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    SetUpApplication(app);
    QApplication::setWindowIcon(ApplicationIcon());

    auto *splash = new TSplashForm;
    splash->ShowAndFadeIn();

    DM1 = new TDM1(&app);
    if (!DM1->ConnectDatabase()) {
        delete splash;
        ShowError(DM1->ConnectError());
        return 1;
    }

    TMainForm mainForm;
    delete splash;
    // The screen's size first, for desktops whose window manager does not
    // maximise on request.
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        mainForm.setGeometry(screen->availableGeometry());
    mainForm.showMaximized();
    return app.exec();
}
