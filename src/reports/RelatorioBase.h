#pragma once

#include "common/Formato.h"
#include "common/Moeda.h"
#include "data/Recordset.h"
#include "engine/MotorRelatorio.h"
#include <RelatoriosTarvo/Database.h>

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace tarvo {

// The frame every report stands on: the engine instance, the public output
// methods, the opening of a build, the page header and taxpayer block, the
// footer, the labelled field boxes and the table cells.
class RelatorioBase {
public:
    virtual ~RelatorioBase();

    void Exibir();
    void Ocultar();
    // On CUPS's printer `impressora`, "" for the default one.
    void Imprimir(const std::string& impressora = "");

    // The engine holding the document of the last build; created with the
    // report and kept as long as it lives.
    MotorRelatorio& Motor();

protected:
    // Per-report values of the frame.
    struct Configuracao {
        std::string titulo;          // long title of the document
        std::string tituloResumido;  // short title
        int32_t orientacao;          // 0 portrait, 1 landscape
        std::string tituloCabecalho; // title shown in the page header
        double topoTitulo;           // Y of the header's title frame
        double alturaTitulo;         // height of the title frame
        double tamanhoTitulo;        // font size of the header title
        bool identificacao;          // the declaration key at the top right
    };

    // What one build reads. Construir makes it as a local and hands it to the
    // drawing methods that need it, so that nothing of a build outlives it,
    // however the build ends; the reports derive theirs from this one.
    struct Construcao {
        std::unique_ptr<Recordset> rsContribuinte;
    };

    explicit RelatorioBase(Configuracao configuracao);

    // Opens a forward-only recordset (type 8) on the database.
    static std::unique_ptr<Recordset> Abrir(const Database& BancoDados, const std::string& sql);
    // The first query of the reports of a declaration: the taxpayer's row
    // joined with the declaration's row.
    static std::string ConsultaContribuinte(const int32_t& Declaracao);

    // Starts the document: titles, icon, orientation and 2 cm margins.
    void IniciarDocumento();

    // Usable width and footer Y of the report's orientation.
    double Largura() const;
    double RodapeY() const;

    // The standard block of the page header (rules, coat of arms, government
    // lines, title frame) at (X, Y); the identification text is read from
    // the build's rsContribuinte when the report shows it.
    void CabecalhoPadrao(const Construcao& c, const double& X, const double& Y);
    // The taxpayer block at Y0, from the build's rsContribuinte; the closing
    // teal rule is drawn when regraFinal is true.
    void BlocoContribuinte(const Construcao& c, const double& X, const double& Y0, bool regraFinal);

    void RodapePagina(const double& X, const double& Y);
    void CaixaCampo(const double& X, const double& Y, const double& Largura, const double& Altura,
                    const std::string& Rotulo, const std::string& Valor);
    void CaixaCampoPequeno(const double& X, const double& Y, const double& Largura,
                           const double& Altura, const std::string& Rotulo,
                           const std::string& Valor);
    void CelulaTitulo(const double& X, const double& Y, const double& Largura, const double& Altura,
                      const std::string& Texto);
    void CelulaTexto(const double& X, const double& Y, const double& Largura, const double& Altura,
                     const std::string& Texto);
    void CelulaNumero(const double& X, const double& Y, const double& Largura, const double& Altura,
                      const std::string& Texto);
    void CelulaTextoNegrito(const double& X, const double& Y, const double& Largura,
                            const double& Altura, const std::string& Texto);
    void CelulaNumeroNegrito(const double& X, const double& Y, const double& Largura,
                             const double& Altura, const std::string& Texto);

    // A black-outlined box, white inside.
    void Caixa(const double& X, const double& Y, const double& Largura, const double& Altura);
    // One line of text in black, teal or another colour.
    void Texto(const double& X, const double& Y, const double& Largura, const double& Altura,
               const std::string& texto, int32_t horizontal, int32_t vertical, double tamanho,
               bool negrito, int32_t cor = Preto);
    void TextoMultilinha(const double& X, const double& Y, const double& Largura,
                         const double& Altura, const std::string& texto, int32_t horizontal,
                         int32_t vertical, double tamanho, bool negrito, int32_t cor = Preto);
    void Regua(const double& X, const double& Y, const double& Largura);

    // Size of the text in CelulaTexto and CelulaNumero (6 in the interstate reports).
    double tamanhoCelula_ = 8.0;

    // "#,##0.00" of an amount.
    std::string TextoValor(const Moeda& valor) const;
    // The text of a tax regime code: 0 "ME", 1 "EPP-A", 2 "EPP-B", else "".
    static std::string TextoRegime(int32_t regime);

    static constexpr int32_t Preto = 0;
    static constexpr int32_t Branco = 0xFFFFFF;
    static constexpr int32_t Vermelho = 0xFF;
    static constexpr int32_t Verde = 0x808000;

    static constexpr int32_t Esquerda = 0, Centro = 1, Direita = 2;
    static constexpr int32_t Topo = 0, Meio = 1, Base = 2;

private:
    Configuracao configuracao_;
    // The regional separators, read when a build starts.
    Formato::Separadores separadores_;
    std::unique_ptr<MotorRelatorio> motor_;
};

} // namespace tarvo
