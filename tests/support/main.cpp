#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cstdlib>

// Every test program runs inside a QApplication on the offscreen platform,
// as the library's engine and dialog need one. Its Qt settings (the print
// dialog's last printer, the file dialogs' history) live in a folder of its
// own under the build folder, gone at the end: nothing one test program
// chooses reaches another running beside it, nor the user's configuration.
int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QDir().mkpath(QStringLiteral(TARVO_BUILD_DIR "/config-testes"));
    const QTemporaryDir configuracao(QStringLiteral(TARVO_BUILD_DIR "/config-testes/XXXXXX"));
    if (configuracao.isValid())
        setenv("XDG_CONFIG_HOME", configuracao.path().toLocal8Bit().constData(), 1);
    ::testing::InitGoogleTest(&argc, argv);
    QApplication aplicacao(argc, argv);
    return RUN_ALL_TESTS();
}
