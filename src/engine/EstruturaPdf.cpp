#include "engine/EstruturaPdf.h"

#include "engine/ObjetosPdf.h"

#include <QStringList>

#include <algorithm>
#include <cmath>

namespace tarvo {

namespace {

// Two texts are in one place when their rectangles agree within a
// hundredth of a point (the same call on another page), on one line when
// their tops and bottoms agree within half a point.
bool MesmoLugar(const QRectF& a, const QRectF& b) {
    return std::abs(a.left() - b.left()) < 0.01 && std::abs(a.top() - b.top()) < 0.01 &&
           std::abs(a.width() - b.width()) < 0.01 && std::abs(a.height() - b.height()) < 0.01;
}

bool MesmaLinha(const QRectF& a, const QRectF& b) {
    return std::abs(a.top() - b.top()) < 0.5 && std::abs(a.bottom() - b.bottom()) < 0.5;
}

} // namespace

EstruturaPdf::EstruturaPdf(ObjetosPdf& objetos)
    : objetos_(objetos), raiz_(objetos.Reservar()), documento_(objetos.Reservar()) {}

std::string EstruturaPdf::TextoAlternativo(const std::string& nomeFigura) {
    if (nomeFigura.find("Brasao") != std::string::npos)
        return "Brasão do Estado de Ostrana";
    if (nomeFigura.find("Icone") != std::string::npos)
        return "Ícone dos Relatórios da Declaração do Vantiro";
    return "Figura";
}

void EstruturaPdf::IniciarSecao(const std::string& titulo, std::vector<QString> titulos) {
    FecharSecao();
    secao_ = objetos_.Reservar();
    tituloSecao_ = titulo;
    titulos_ = std::move(titulos);
    for (QString& t : titulos_)
        t = t.simplified();
    titulado_ = false;
    paginasSecao_ = 0;
    primeiraPagina_.clear();
}

void EstruturaPdf::IniciarPagina() {
    ++paginasSecao_;
    prefixo_ = 0;
    noCabecalho_ = paginasSecao_ > 1;
}

bool EstruturaPdf::Artefato(const QString& texto, const QRectF& area, bool marcadores) {
    if (paginasSecao_ == 1) {
        primeiraPagina_.push_back({texto, area});
        return marcadores;
    }
    // The page header: the texts drawn first that the first page drew the
    // same, in the same order and place.
    if (noCabecalho_ && prefixo_ < primeiraPagina_.size() &&
        primeiraPagina_[prefixo_].texto == texto &&
        MesmoLugar(primeiraPagina_[prefixo_].area, area)) {
        ++prefixo_;
        return true;
    }
    noCabecalho_ = false;
    return marcadores;
}

// The header's title: one of the document's titles, or a text of two
// words or more all of which the long title has ("DIPAM - Código 1" in
// "Relatório de Informações para a DIPAM - Código 1").
bool EstruturaPdf::Titulo(const QString& texto) const {
    const QString limpo = texto.simplified();
    if (limpo.size() < 4)
        return false;
    for (const QString& titulo : titulos_) {
        if (limpo == titulo)
            return true;
    }
    if (titulos_.empty())
        return false;
    const QStringList palavras = limpo.split(' ');
    const QStringList doTitulo = titulos_.front().split(' ');
    return palavras.size() >= 2 &&
           std::all_of(palavras.begin(), palavras.end(),
                       [&doTitulo](const QString& p) { return doTitulo.contains(p); });
}

int EstruturaPdf::Elemento(const char* tipo, int pai, int pagina, int mcid,
                           const std::string& extra) {
    // One element a table cell: written tersely and without temporaries.
    const int numero = objetos_.Reservar();
    corpo_.assign("<</S/");
    corpo_ += tipo;
    corpo_ += "/P ";
    ObjetosPdf::Ref(corpo_, pai);
    corpo_ += "/Pg ";
    ObjetosPdf::Ref(corpo_, pagina);
    corpo_ += "/K ";
    ObjetosPdf::Inteiro(corpo_, static_cast<uint64_t>(mcid));
    corpo_ += extra;
    corpo_ += ">>";
    objetos_.Objeto(numero, corpo_);
    return numero;
}

void EstruturaPdf::FecharLinha() {
    if (linha_.empty())
        return;
    // Before the title (the page header) every text is a paragraph of its own.
    if (linha_.size() == 1 || !titulado_) {
        FecharTabela();
        for (const int mcid : linha_) {
            const int p = Elemento("P", secao_, paginaLinha_, mcid);
            (*pais_)[static_cast<size_t>(mcid)] = p;
            filhosSecao_.push_back(p);
        }
        linha_.clear();
        return;
    }
    // A strip of fields above a grid is a table of its own: a one-row
    // table ends where a row of another width follows.
    if (tabela_ != 0 && linhasTabela_.size() == 1 && celulasTabela_ != linha_.size())
        FecharTabela();
    if (tabela_ == 0) {
        celulasTabela_ = linha_.size();
        tabela_ = objetos_.Reservar();
        filhosSecao_.push_back(tabela_);
    }
    const int linha = objetos_.Reservar();
    std::string celulas = "<</S/TR/P " + ObjetosPdf::Ref(tabela_) + "/K[";
    for (const int mcid : linha_) {
        const int celula = Elemento("TD", linha, paginaLinha_, mcid);
        (*pais_)[static_cast<size_t>(mcid)] = celula;
        if (celulas.back() != '[')
            celulas += ' ';
        ObjetosPdf::Ref(celulas, celula);
    }
    objetos_.Objeto(linha, celulas + "]>>");
    linhasTabela_.push_back(linha);
    linha_.clear();
}

void EstruturaPdf::FecharTabela() {
    if (tabela_ == 0)
        return;
    std::string linhas;
    for (const int linha : linhasTabela_)
        linhas += ObjetosPdf::Ref(linha) + ' ';
    objetos_.Objeto(tabela_,
                    "<< /S /Table /P " + ObjetosPdf::Ref(secao_) + " /K [" + linhas + "] >>");
    tabela_ = 0;
    linhasTabela_.clear();
}

int EstruturaPdf::ConcluirPagina(int pagina, const std::vector<ConteudoPagina::Marcado>& marcados) {
    std::vector<int> pais(marcados.size(), 0);
    pais_ = &pais;
    for (const ConteudoPagina::Marcado& marcado : marcados) {
        if (marcado.figura) {
            FecharLinha();
            FecharTabela();
            const int figura =
                Elemento("Figure", secao_, pagina, marcado.id,
                         " /Alt " + ObjetosPdf::Texto(TextoAlternativo(marcado.nomeFigura)));
            pais[static_cast<size_t>(marcado.id)] = figura;
            filhosSecao_.push_back(figura);
            continue;
        }
        if (!titulado_ && paginasSecao_ == 1 && Titulo(marcado.texto)) {
            // The report's title heads its section.
            FecharLinha();
            FecharTabela();
            const int titulo = Elemento("H1", secao_, pagina, marcado.id);
            pais[static_cast<size_t>(marcado.id)] = titulo;
            filhosSecao_.push_back(titulo);
            titulado_ = true;
            continue;
        }
        if (!linha_.empty() && !MesmaLinha(areaLinha_, marcado.area))
            FecharLinha();
        if (linha_.empty()) {
            areaLinha_ = marcado.area;
            paginaLinha_ = pagina;
        }
        linha_.push_back(marcado.id);
    }
    FecharLinha();
    pais_ = nullptr;
    std::string lista = "[";
    for (const int pai : pais) {
        ObjetosPdf::Ref(lista, pai);
        lista += ' ';
    }
    lista += "]";
    const int arranjo = objetos_.Reservar();
    objetos_.Objeto(arranjo, lista);
    arvorePais_.push_back(arranjo);
    return static_cast<int>(arvorePais_.size()) - 1;
}

void EstruturaPdf::FecharSecao() {
    if (secao_ == 0)
        return;
    FecharTabela();
    std::string filhos;
    for (const int filho : filhosSecao_)
        filhos += ObjetosPdf::Ref(filho) + ' ';
    objetos_.Objeto(secao_, "<< /S /Sect /P " + ObjetosPdf::Ref(documento_) + " /T " +
                                ObjetosPdf::Texto(tituloSecao_) + " /K [" + filhos + "] >>");
    secoes_.push_back(secao_);
    filhosSecao_.clear();
    secao_ = 0;
}

void EstruturaPdf::Concluir() {
    FecharSecao();
    std::string secoes;
    for (const int secao : secoes_)
        secoes += ObjetosPdf::Ref(secao) + ' ';
    objetos_.Objeto(documento_,
                    "<< /S /Document /P " + ObjetosPdf::Ref(raiz_) + " /K [" + secoes + "] >>");
    std::string numeros;
    for (size_t i = 0; i < arvorePais_.size(); ++i)
        numeros += std::to_string(i) + ' ' + ObjetosPdf::Ref(arvorePais_[i]) + ' ';
    const int arvore = objetos_.Reservar();
    objetos_.Objeto(arvore, "<< /Nums [" + numeros + "] >>");
    objetos_.Objeto(raiz_, "<< /Type /StructTreeRoot /K " + ObjetosPdf::Ref(documento_) +
                               " /ParentTree " + ObjetosPdf::Ref(arvore) + " /ParentTreeNextKey " +
                               std::to_string(arvorePais_.size()) + " >>");
}

} // namespace tarvo
