#pragma once

#include "entry/AplicacaoQt.h"
#include "entry/TabelaRelatorios.h"

#include <memory>
#include <vector>

namespace tarvo {

class Andamento;
class RelatorioBase;
struct Pedido;

// The ten report instances of a Relatorios object, in list order, each with
// its engine and the document of its last build, and the Qt application
// their windows need.
class ConjuntoRelatorios {
public:
    static constexpr int Quantidade = TabelaRelatorios::Quantidade;

    ConjuntoRelatorios();
    ~ConjuntoRelatorios();
    ConjuntoRelatorios(const ConjuntoRelatorios&) = delete;
    ConjuntoRelatorios& operator=(const ConjuntoRelatorios&) = delete;

    // Builds the report at a list position on one snapshot of the request's
    // database. Every error raised on the way names the report. The rows and
    // pages counted go to `andamento`, which may stop the build.
    void Construir(int posicao, const Pedido& pedido, Andamento* andamento = nullptr);
    // The report at a list position (Erro 3001 outside 0 to 9).
    RelatorioBase& Relatorio(int posicao) const;

    // Closes the previews of every report.
    void Ocultar();
    // Runs the Qt event loop while a preview window of this set is visible.
    void AguardarJanelas();
    bool AlgumaJanelaVisivel() const;

    // Makes sure the process has the Qt application this use needs and
    // keeps it at least as long as this object.
    void PrepararAplicacao(AplicacaoQt::Uso uso);

private:
    // Declared first so that it goes last, after every window.
    std::shared_ptr<AplicacaoQt> aplicacao_;
    std::vector<std::unique_ptr<RelatorioBase>> relatorios_;
};

} // namespace tarvo
