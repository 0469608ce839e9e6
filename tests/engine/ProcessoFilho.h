#pragma once

#include <QCoreApplication>
#include <QProcess>
#include <gtest/gtest.h>

#include <initializer_list>
#include <utility>

namespace tarvo::teste {

// Settings that a process reads once (the CUPS server, the screen scale) are
// tested in a child: this same program, running only `teste`, with the
// variables added and TARVO_TESTE_FILHO set. Returns true in the child.
inline bool NoProcessoFilho(const char* teste,
                            std::initializer_list<std::pair<const char*, const char*>> variaveis) {
    if (qEnvironmentVariableIsSet("TARVO_TESTE_FILHO")) {
        return true;
    }
    QProcessEnvironment ambiente = QProcessEnvironment::systemEnvironment();
    ambiente.insert("TARVO_TESTE_FILHO", "1");
    ambiente.insert("QT_QPA_PLATFORM", "offscreen");
    for (const auto& [nome, valor] : variaveis) {
        ambiente.insert(nome, valor);
    }
    QProcess filho;
    filho.setProcessEnvironment(ambiente);
    filho.setProcessChannelMode(QProcess::MergedChannels);
    filho.start(QCoreApplication::applicationFilePath(), {QString("--gtest_filter=") + teste});
    EXPECT_TRUE(filho.waitForFinished(60000));
    const QString saida = QString::fromLocal8Bit(filho.readAll());
    EXPECT_EQ(filho.exitCode(), 0) << saida.toStdString();
    EXPECT_TRUE(saida.contains("[  PASSED  ] 1 test")) << saida.toStdString();
    return false;
}

} // namespace tarvo::teste
