#include "reports/RelatorioSaiInterestad.h"

namespace tarvo {

RelatorioInterestadual::Colunas RelatorioSaiInterestad::ColunasSaidas() {
    // Seven money columns share 13.8 cm after the 3.2 cm state column.
    const double U = 13.8 / 7;
    const double alto = 1.5;
    const double baixo = 1.5 / 2;
    return {
        " tblDetalhesInterUFs.Tipo = 1 and",
        {" sum(tblDetalhesInterUFs.ValorContábil_2) as Soma_ValorContábil_2,",
         " sum(tblDetalhesInterUFs.ValorContábil_1) as Soma_ValorContábil_1,",
         " sum(tblDetalhesInterUFs.BaseCálculo_2) as Soma_BaseCálculo_2,",
         " sum(tblDetalhesInterUFs.BaseCálculo_1) as Soma_BaseCálculo_1,",
         " sum(tblDetalhesInterUFs.Imposto) as Soma_Imposto,",
         " sum(tblDetalhesInterUFs.Outras) as Soma_Outras,",
         " sum(tblDetalhesInterUFs.ICMSCobradoST) as Soma_ICMSCobradoST "},
        // Non-taxpayer sums come first in the totals but print second.
        {"Soma_ValorContábil_2", "Soma_ValorContábil_1", "Soma_BaseCálculo_2", "Soma_BaseCálculo_1",
         "Soma_Imposto", "Soma_Outras", "Soma_ICMSCobradoST"},
        {"Soma_ValorContábil_1", "Soma_ValorContábil_2", "Soma_BaseCálculo_1", "Soma_BaseCálculo_2",
         "Soma_Imposto", "Soma_Outras", "Soma_ICMSCobradoST"},
        3.2,
        U,
        "Saídas de Mercadorias, Bens e/ou Prestações de Serviços",
        {
            {"Código e Unidade da\r\nFederação de Origem", 0, 6.1, 3.2, alto},
            {"Valor Contábil", 3.2, 6.1, 2 * U, baixo},
            {"Contribuinte", 3.2, 6.85, U, baixo},
            {"Não Contribuinte", 3.2 + U, 6.85, U, baixo},
            {"Base de Cálculo", 3.2 + 2 * U, 6.1, 2 * U, baixo},
            {"Contribuinte", 3.2 + 2 * U, 6.85, U, baixo},
            {"Não Contribuinte", 3.2 + 3 * U, 6.85, U, baixo},
            {"Imposto", 3.2 + 4 * U, 6.1, U, alto},
            {"Outras", 3.2 + 5 * U, 6.1, U, alto},
            {"ICMS Cobrado por\r\nSubstituição\r\nTributária", 3.2 + 6 * U, 6.1, U, alto},
        },
    };
}

RelatorioSaiInterestad::RelatorioSaiInterestad()
    : RelatorioInterestadual(
          {"Relatório de Informação das Operações e Prestações de Saídas Interestaduais - ICMS",
           "Oper. Saídas Interestaduais", 0,
           "Informação das Operações e Prestações Interestaduais - ICMS", 2.9, 0.7, 14, true},
          ColunasSaidas()) {}

} // namespace tarvo
