#include <QApplication>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cstdlib>

// Every test program runs inside a QApplication on the offscreen platform,
// as the library's engine and dialog need one. What Qt and the preview keep
// in the user's settings goes to a folder of the run's own, never the
// user's.
int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    const QTemporaryDir configuracao;
    if (!configuracao.isValid())
        return EXIT_FAILURE;
    setenv("XDG_CONFIG_HOME", configuracao.path().toLocal8Bit().constData(), 1);
    ::testing::InitGoogleTest(&argc, argv);
    QApplication aplicacao(argc, argv);
    return RUN_ALL_TESTS();
}
