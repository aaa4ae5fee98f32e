// The window tests run on Qt's offscreen platform unless another is chosen.
#include "window_test_support.h"

#include <QApplication>

int main(int argc, char** argv) {
    corvid::test::NoteProcessStart();
    testing::InitGoogleTest(&argc, argv);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    int result = RUN_ALL_TESTS();
    corvid::test::EndDesktopEngine();
    return result;
}
