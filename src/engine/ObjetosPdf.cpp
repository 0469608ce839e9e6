#include "engine/ObjetosPdf.h"

#include "common/ArquivoAtomico.h"
#include <RelatoriosTarvo/Erro.h>

#include <charconv>
#include <cmath>

namespace tarvo {

namespace {

const char* const origem = TARVO_ORIGEM_MOTOR;

} // namespace

ObjetosPdf::ObjetosPdf(ArquivoAtomico& arquivo) : arquivo_(arquivo) {
    // The binary comment tells transfer programs that the file is binary.
    Gravar("%PDF-1.7\n%\xE2\xE3\xCF\xD3\n");
}

void ObjetosPdf::Gravar(std::string_view dados) {
    arquivo_.Escrever(dados);
    resumo_.addData(QByteArrayView(dados.data(), static_cast<qsizetype>(dados.size())));
    posicao_ += dados.size();
}

int ObjetosPdf::Reservar() {
    entradas_.emplace_back();
    return static_cast<int>(entradas_.size());
}

void ObjetosPdf::Abrir(int numero) {
    if (numero < 1 || static_cast<size_t>(numero) > entradas_.size() ||
        entradas_[static_cast<size_t>(numero) - 1].tipo != 0) {
        throw Erro(Erro::Interno, "Objeto " + std::to_string(numero) + " do PDF fora de ordem.",
                   origem);
    }
    entradas_[static_cast<size_t>(numero) - 1] = {1, posicao_, 0};
    Gravar(std::to_string(numero) + " 0 obj\n");
}

void ObjetosPdf::Objeto(int numero, std::string_view corpo) {
    if (numero < 1 || static_cast<size_t>(numero) > entradas_.size() ||
        entradas_[static_cast<size_t>(numero) - 1].tipo != 0) {
        throw Erro(Erro::Interno, "Objeto " + std::to_string(numero) + " do PDF fora de ordem.",
                   origem);
    }
    // Marked as written; its place is known when the lot is.
    entradas_[static_cast<size_t>(numero) - 1].tipo = 2;
    Inteiro(loteCabecalho_, static_cast<uint64_t>(numero));
    loteCabecalho_ += ' ';
    Inteiro(loteCabecalho_, loteCorpo_.size());
    loteCabecalho_ += ' ';
    loteCorpo_ += corpo;
    loteCorpo_ += '\n';
    loteObjetos_.push_back(numero);
    if (loteObjetos_.size() >= 200 || loteCorpo_.size() >= 256 * 1024)
        EscreverLote();
}

void ObjetosPdf::EscreverLote() {
    if (loteObjetos_.empty())
        return;
    const int lote = Reservar();
    for (size_t i = 0; i < loteObjetos_.size(); ++i) {
        entradas_[static_cast<size_t>(loteObjetos_[i]) - 1] = {2, static_cast<uint64_t>(lote),
                                                               static_cast<uint32_t>(i)};
    }
    const std::string entradas = "/Type /ObjStm /N " + std::to_string(loteObjetos_.size()) +
                                 " /First " + std::to_string(loteCabecalho_.size());
    FluxoComprimido(lote, entradas, compressor_.Comprimir(loteCabecalho_ + loteCorpo_));
    loteCabecalho_.clear();
    loteCorpo_.clear();
    loteObjetos_.clear();
}

void ObjetosPdf::Fluxo(int numero, std::string_view entradas, std::string_view dados,
                       bool comprimir) {
    if (comprimir) {
        FluxoComprimido(numero, entradas, compressor_.Comprimir(dados));
        return;
    }
    Abrir(numero);
    std::string cabecalho = "<< ";
    cabecalho += entradas;
    cabecalho += " /Length " + std::to_string(dados.size()) + " >>\nstream\n";
    Gravar(cabecalho);
    Gravar(dados);
    Gravar("\nendstream\nendobj\n");
}

void ObjetosPdf::FluxoComprimido(int numero, std::string_view entradas,
                                 std::string_view comprimidos) {
    Abrir(numero);
    std::string cabecalho = "<< ";
    cabecalho += entradas;
    cabecalho +=
        " /Filter /FlateDecode /Length " + std::to_string(comprimidos.size()) + " >>\nstream\n";
    Gravar(cabecalho);
    Gravar(comprimidos);
    Gravar("\nendstream\nendobj\n");
}

void ObjetosPdf::Concluir(int catalogo, int informacoes) {
    EscreverLote();
    const int tabela = Reservar();
    for (size_t i = 0; i + 1 < entradas_.size(); ++i) {
        if (entradas_[i].tipo == 0) {
            throw Erro(Erro::Interno,
                       "Objeto " + std::to_string(i + 1) + " do PDF não foi escrito.", origem);
        }
    }
    // The identifier digests the file so far: the same content, the same
    // identifier, in both halves since the file is new.
    const std::string id = resumo_.result().toHex().toUpper().toStdString();
    const uint64_t inicioTabela = posicao_;
    // Each entry: its type in one byte, the offset or object stream in
    // four (eight past 4 GB, a width every reader knows), the index in two.
    const int bytes = inicioTabela >> 32 != 0 ? 8 : 4;
    std::string linhas;
    linhas.reserve(static_cast<size_t>(3 + bytes) * (entradas_.size() + 1));
    const auto entrada = [&linhas, bytes](uint8_t tipo, uint64_t campo, uint32_t indice) {
        linhas += static_cast<char>(tipo);
        for (int b = bytes - 1; b >= 0; --b)
            linhas += static_cast<char>((campo >> (8 * b)) & 0xFF);
        linhas += static_cast<char>((indice >> 8) & 0xFF);
        linhas += static_cast<char>(indice & 0xFF);
    };
    entrada(0, 0, 0xFFFF);
    for (size_t i = 0; i + 1 < entradas_.size(); ++i)
        entrada(entradas_[i].tipo, entradas_[i].campo, entradas_[i].indice);
    entrada(1, inicioTabela, 0); // the table itself, written next
    FluxoComprimido(tabela,
                    "/Type /XRef /Size " + std::to_string(entradas_.size() + 1) + " /W [1 " +
                        std::to_string(bytes) + " 2] /Root " + Ref(catalogo) + " /Info " +
                        Ref(informacoes) + " /ID [<" + id + "> <" + id + ">]",
                    compressor_.Comprimir(linhas));
    Gravar("startxref\n" + std::to_string(inicioTabela) + "\n%%EOF\n");
}

void ObjetosPdf::Numero(std::string& saida, double valor) {
    if (!std::isfinite(valor))
        valor = 0;
    // Whole thousandths, written without a trailing zero.
    long long milesimos = std::llround(valor * 1000.0);
    if (milesimos < 0) {
        saida += '-';
        milesimos = -milesimos;
    }
    char texto[24];
    const auto fim = std::to_chars(texto, texto + sizeof texto, milesimos / 1000).ptr;
    saida.append(texto, fim);
    long long fracao = milesimos % 1000;
    if (fracao != 0) {
        char decimais[4] = {static_cast<char>('0' + fracao / 100),
                            static_cast<char>('0' + fracao / 10 % 10),
                            static_cast<char>('0' + fracao % 10), 0};
        int n = 3;
        while (decimais[n - 1] == '0')
            --n;
        saida += '.';
        saida.append(decimais, static_cast<size_t>(n));
    }
}

void ObjetosPdf::Inteiro(std::string& saida, uint64_t valor) {
    char texto[24];
    saida.append(texto, std::to_chars(texto, texto + sizeof texto, valor).ptr);
}

void ObjetosPdf::Ref(std::string& saida, int numero) {
    Inteiro(saida, static_cast<uint64_t>(numero));
    saida += " 0 R";
}

std::string ObjetosPdf::Numero(double valor) {
    std::string saida;
    Numero(saida, valor);
    return saida;
}

std::string ObjetosPdf::Texto(const QString& texto) {
    bool ascii = true;
    for (const QChar c : texto) {
        if (c.unicode() < 0x20 || c.unicode() > 0x7E) {
            ascii = false;
            break;
        }
    }
    if (ascii) {
        std::string saida = "(";
        for (const QChar c : texto) {
            const char letra = static_cast<char>(c.unicode());
            if (letra == '(' || letra == ')' || letra == '\\')
                saida += '\\';
            saida += letra;
        }
        return saida + ")";
    }
    static const char hexa[] = "0123456789ABCDEF";
    std::string saida = "<FEFF";
    for (const QChar c : texto) {
        const char16_t u = c.unicode();
        saida += hexa[u >> 12];
        saida += hexa[(u >> 8) & 15];
        saida += hexa[(u >> 4) & 15];
        saida += hexa[u & 15];
    }
    return saida + ">";
}

} // namespace tarvo
