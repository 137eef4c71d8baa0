#pragma once

// What both programs do to their application object before the first
// window: Chinese standard dialogs, and the font names the windows use
// mapped to installed Chinese faces.

class QApplication;

void SetUpApplication(QApplication &app);
