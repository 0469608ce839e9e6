#include "reports/RelatorioEntInterestad.h"

namespace tarvo {

RelatorioInterestadual::Colunas RelatorioEntInterestad::ColunasEntradas() {
    // Six money columns share 13.5 cm after the 3.5 cm state column; the
    // substitution caption spans the last two.
    const double largura = 13.5 / 6;
    const double alto = 1.5;
    const double baixo = 1.5 / 2;
    return {
        " tblDetalhesInterUFs.Tipo = 0 and",
        {" sum(tblDetalhesInterUFs.ValorContábil_1) as Soma_ValorContábil_1,",
         " sum(tblDetalhesInterUFs.BaseCálculo_1) as Soma_BaseCálculo_1,",
         " sum(tblDetalhesInterUFs.Imposto) as Soma_Imposto,",
         " sum(tblDetalhesInterUFs.Outras) as Soma_Outras,",
         " sum(tblDetalhesInterUFs.PetróleoEnergia) as Soma_PetróleoEnergia,",
         " sum(tblDetalhesInterUFs.OutrosProdutos) as Soma_OutrosProdutos "},
        {"Soma_ValorContábil_1", "Soma_BaseCálculo_1", "Soma_Imposto", "Soma_Outras",
         "Soma_PetróleoEnergia", "Soma_OutrosProdutos"},
        {"Soma_ValorContábil_1", "Soma_BaseCálculo_1", "Soma_Imposto", "Soma_Outras",
         "Soma_PetróleoEnergia", "Soma_OutrosProdutos"},
        3.5,
        largura,
        "Entradas de Mercadorias, Bens e/ou Aquisições de Serviços",
        {
            {"Código e Unidade da\r\nFederação de Origem", 0, 6.1, 3.5, alto},
            {"Valor\r\nContábil", 3.5, 6.1, largura, alto},
            {"Base de\r\nCálculo", 3.5 + largura, 6.1, largura, alto},
            {"Imposto", 3.5 + 2 * largura, 6.1, largura, alto},
            {"Outras", 3.5 + 3 * largura, 6.1, largura, alto},
            {"ICMS Cobrado por\r\nSubstituição Tributária", 3.5 + 4 * largura, 6.1, 2 * largura,
             baixo},
            {"Petróleo /\r\nEnergia", 3.5 + 4 * largura, 6.85, largura, baixo},
            {"Outros\r\nProdutos", 3.5 + 5 * largura, 6.85, largura, baixo},
        },
    };
}

RelatorioEntInterestad::RelatorioEntInterestad()
    : RelatorioInterestadual(
          {"Relatório de Informação das Operações e Prestações de Entradas Interestaduais - ICMS",
           "Oper. Entradas Interestaduais", 0,
           "Informação das Operações e Prestações Interestaduais - ICMS", 2.9, 0.7, 14, true},
          ColunasEntradas()) {}

} // namespace tarvo
