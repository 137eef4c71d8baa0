// The main of every test program: a QApplication (offscreen under CTest),
// so database, dataset and widget tests all run in one kind of process. A
// message box or modal window that no test answers fails the test instead
// of waiting for a click that never comes.

#include "support/Answers.h"

#include <gtest/gtest.h>

#include <QApplication>

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    InstallUnexpectedAnswers();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
