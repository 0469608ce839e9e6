#include "support/LeitorPdf.h"

#include <QProcess>
#include <QRegularExpression>
#include <QStringList>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace tarvo::teste {

std::string Executar(const std::string& programa, const std::vector<std::string>& args) {
    QStringList lista;
    for (const auto& a : args) {
        lista << QString::fromStdString(a);
    }
    QProcess processo;
    processo.start(QString::fromStdString(programa), lista);
    if (!processo.waitForFinished(60000) || processo.exitCode() != 0) {
        ADD_FAILURE() << programa << " failed: " << processo.readAllStandardError().toStdString();
        return {};
    }
    return processo.readAllStandardOutput().toStdString();
}

std::string TextoPdf(const std::string& caminho) {
    return Executar("pdftotext", {"-enc", "UTF-8", caminho, "-"});
}

PdfLido LerPdf(const std::string& caminho) {
    const QString html =
        QString::fromStdString(Executar("pdftotext", {"-bbox", "-enc", "UTF-8", caminho, "-"}));
    const QRegularExpression pagina(R"re(<page width="([\d.]+)" height="([\d.]+)">)re");
    const QRegularExpression palavra(
        R"re(<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">([^<]*)</word>)re");
    PdfLido lido;
    for (const QString& linha : html.split(QLatin1Char('\n'))) {
        if (const auto m = pagina.match(linha); m.hasMatch()) {
            lido.paginas.push_back({m.captured(1).toDouble(), m.captured(2).toDouble()});
        } else if (const auto p = palavra.match(linha); p.hasMatch()) {
            QString texto = p.captured(5);
            texto.replace("&lt;", "<").replace("&gt;", ">").replace("&quot;", "\"");
            texto.replace("&apos;", "'").replace("&amp;", "&");
            lido.palavras.push_back({static_cast<int>(lido.paginas.size()),
                                     p.captured(1).toDouble(), p.captured(2).toDouble(),
                                     p.captured(3).toDouble(), p.captured(4).toDouble(),
                                     texto.toStdString()});
        }
    }
    return lido;
}

std::vector<Palavra> PdfLido::Achar(const std::string& texto) const {
    std::vector<Palavra> achadas;
    for (const auto& p : palavras) {
        if (p.texto == texto) {
            achadas.push_back(p);
        }
    }
    return achadas;
}

std::string PdfLido::Texto() const {
    std::string texto;
    for (const auto& p : palavras) {
        texto += (texto.empty() ? "" : " ") + p.texto;
    }
    return texto;
}

::testing::AssertionResult MesmasPalavras(const std::vector<Palavra>& lidas,
                                          const std::vector<Palavra>& esperadas,
                                          double tolerancia) {
    if (lidas.size() != esperadas.size()) {
        return ::testing::AssertionFailure()
               << lidas.size() << " words read, " << esperadas.size() << " expected";
    }
    const auto distancia = [](const Palavra& a, const Palavra& b) {
        return std::max({std::abs(a.xMin - b.xMin), std::abs(a.xMax - b.xMax),
                         std::abs(a.yMin - b.yMin), std::abs(a.yMax - b.yMax)});
    };
    std::vector<bool> usada(lidas.size(), false);
    for (const Palavra& esperada : esperadas) {
        size_t melhor = lidas.size();
        for (size_t i = 0; i < lidas.size(); ++i) {
            if (!usada[i] && lidas[i].pagina == esperada.pagina &&
                lidas[i].texto == esperada.texto &&
                (melhor == lidas.size() ||
                 distancia(lidas[i], esperada) < distancia(lidas[melhor], esperada))) {
                melhor = i;
            }
        }
        if (melhor == lidas.size()) {
            return ::testing::AssertionFailure()
                   << "\"" << esperada.texto << "\" missing on page " << esperada.pagina;
        }
        const Palavra& lida = lidas[melhor];
        if (distancia(lida, esperada) > tolerancia) {
            return ::testing::AssertionFailure()
                   << "\"" << esperada.texto << "\" on page " << esperada.pagina << " at ("
                   << lida.xMin << ", " << lida.yMin << ")-(" << lida.xMax << ", " << lida.yMax
                   << "), expected (" << esperada.xMin << ", " << esperada.yMin << ")-("
                   << esperada.xMax << ", " << esperada.yMax << ")";
        }
        usada[melhor] = true;
    }
    return ::testing::AssertionSuccess();
}

Palavra PdfLido::Unica(const std::string& texto) const {
    const auto achadas = Achar(texto);
    EXPECT_EQ(achadas.size(), 1u) << "word \"" << texto << "\"";
    return achadas.empty() ? Palavra{0, 0, 0, 0, 0, {}} : achadas.front();
}

} // namespace tarvo::teste
