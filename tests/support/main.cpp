#include <QApplication>
#include <gtest/gtest.h>

#include <cstdlib>

// Every test program runs inside a QApplication on the offscreen platform,
// as the library's engine and dialog need one.
int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    ::testing::InitGoogleTest(&argc, argv);
    QApplication aplicacao(argc, argv);
    return RUN_ALL_TESTS();
}
