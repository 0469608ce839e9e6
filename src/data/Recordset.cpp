#include "data/Recordset.h"

#include "data/ErroSqlite.h"
#include "data/FuncoesSqlite.h"
#include <RelatoriosTarvo/Erro.h>

#include <sqlite3.h>
#include <unicode/normalizer2.h>
#include <unicode/unistr.h>

#include <string_view>

namespace tarvo {

namespace {

// Case-insensitive key of a name: full Unicode case folding of its NFC form,
// so "CÓDDIPAM" and "códdipam" both find "CódDIPAM".
std::string Chave(std::string_view nome) {
    bool ascii = true;
    for (const char c : nome)
        ascii = ascii && static_cast<unsigned char>(c) < 0x80;
    std::string chave;
    if (ascii) {
        chave.assign(nome);
        for (char& c : chave) {
            if (c >= 'A' && c <= 'Z')
                c = static_cast<char>(c - 'A' + 'a');
        }
        return chave;
    }
    UErrorCode status = U_ZERO_ERROR;
    const icu::Normalizer2* nfc = icu::Normalizer2::getNFCInstance(status);
    icu::UnicodeString texto = icu::UnicodeString::fromUTF8(
        icu::StringPiece(nome.data(), static_cast<int32_t>(nome.size())));
    texto.foldCase();
    if (U_SUCCESS(status))
        texto = nfc->normalize(texto, status);
    texto.toUTF8String(chave);
    return chave;
}

std::string TextoOuVazio(const char* texto) {
    return texto != nullptr ? texto : "";
}

} // namespace

void Recordset::FinalizarComando::operator()(sqlite3_stmt* stmt) const {
    sqlite3_finalize(stmt);
}

Recordset::Recordset(Comando comando, const std::vector<std::string>& colunasMoeda,
                     std::vector<std::string> tabelas,
                     std::shared_ptr<VigilanciaConsultas> vigilancia)
    : vigilancia_(std::move(vigilancia)), abertura_(VigilanciaConsultas::Relogio::now()),
      comando_(std::move(comando)), tabelas_(std::move(tabelas)) {
    sqlite3_stmt* const stmt = comando_.get();
    const int quantidade = sqlite3_column_count(stmt);
    colunas_.reserve(static_cast<size_t>(quantidade));
    for (int i = 0; i < quantidade; ++i) {
        Coluna coluna;
        coluna.nome = TextoOuVazio(sqlite3_column_name(stmt, i));
        coluna.chaveNome = Chave(coluna.nome);
        const char* tabela = sqlite3_column_table_name(stmt, i);
        if (tabela != nullptr) {
            coluna.tabela = tabela;
            coluna.chaveTabela = Chave(tabela);
            coluna.chaveOrigem = Chave(TextoOuVazio(sqlite3_column_origin_name(stmt, i)));
        } else {
            // Only a computed column can be a money sum; a table column of
            // the same name is read as stored.
            for (const std::string& nome : colunasMoeda)
                coluna.moeda = coluna.moeda || nome == coluna.nome;
        }
        colunas_.push_back(std::move(coluna));
    }
    Avancar();
}

Recordset::~Recordset() = default;

void Recordset::Avancar() {
    eof_ = true;
    vigilancia_->AntesDoPasso(abertura_);
    const int rc = sqlite3_step(comando_.get());
    vigilancia_->DepoisDoPasso();
    if (rc == SQLITE_ROW) {
        eof_ = false;
        vigilancia_->Linha();
        return;
    }
    if (rc == SQLITE_DONE)
        return;
    if (std::optional<Erro> motivo = vigilancia_->Motivo())
        throw *motivo;
    sqlite3* db = sqlite3_db_handle(comando_.get());
    if (std::optional<Erro> erro = FuncoesSqlite::ErroDaMensagem(sqlite3_errmsg(db)))
        throw *erro;
    ErroSqlite::Levantar(db);
}

void Recordset::ExigirAberto() const {
    if (comando_ == nullptr)
        throw Erro(Erro::ObjetoInvalido, "Object invalid or no longer set.");
}

bool Recordset::Eof() const {
    ExigirAberto();
    return eof_;
}

int Recordset::FieldCount() const {
    ExigirAberto();
    return static_cast<int>(colunas_.size());
}

std::string Recordset::FieldName(int indice) const {
    ExigirAberto();
    if (indice < 0 || indice >= static_cast<int>(colunas_.size()))
        ItemNaoEncontrado(std::to_string(indice));
    return colunas_[static_cast<size_t>(indice)].nome;
}

int Recordset::Indice(const std::string& nome) const {
    if (const auto achado = indices_.find(nome); achado != indices_.end())
        return achado->second;

    const std::string chave = Chave(nome);
    int indice = -1;
    int encontrados = 0;
    for (size_t i = 0; i < colunas_.size(); ++i) {
        if (colunas_[i].chaveNome == chave) {
            indice = static_cast<int>(i);
            ++encontrados;
        }
    }
    // "table.column" names a table's column when no result column is
    // called so, as in joins where the bare name is ambiguous.
    const size_t ponto = chave.find('.');
    if (encontrados == 0 && ponto != std::string::npos) {
        const std::string_view tabela = std::string_view(chave).substr(0, ponto);
        const std::string_view origem = std::string_view(chave).substr(ponto + 1);
        for (size_t i = 0; i < colunas_.size(); ++i) {
            if (!colunas_[i].chaveTabela.empty() && colunas_[i].chaveTabela == tabela &&
                colunas_[i].chaveOrigem == origem) {
                indice = static_cast<int>(i);
                ++encontrados;
            }
        }
    }
    if (encontrados > 1)
        ItemNaoEncontrado(nome + " (em mais de uma tabela)");
    if (encontrados == 0)
        ItemNaoEncontrado(nome);
    indices_.emplace(nome, indice);
    return indice;
}

Campo Recordset::Fields(const std::string& nome) const {
    ExigirAberto();
    return Ler(Indice(nome));
}

Campo Recordset::Fields(int indice) const {
    ExigirAberto();
    if (indice < 0 || indice >= static_cast<int>(colunas_.size()))
        ItemNaoEncontrado(std::to_string(indice));
    return Ler(indice);
}

void Recordset::ItemNaoEncontrado(const std::string& nome) const {
    std::string tabelas;
    for (const std::string& tabela : tabelas_)
        tabelas += (tabelas.empty() ? "" : ", ") + tabela;
    throw Erro(Erro::ItemNaoEncontrado, "Item not found in this collection: " + nome +
                                            (tabelas.empty() ? "" : " (" + tabelas + ")"));
}

Campo Recordset::Ler(int indice) const {
    if (eof_)
        throw Erro(Erro::SemRegistroAtual, "No current record.");
    const Coluna& coluna = colunas_[static_cast<size_t>(indice)];
    return Campo(LerValor(comando_.get(), indice, coluna.moeda), coluna.nome, coluna.tabela);
}

Valor Recordset::LerValor(sqlite3_stmt* stmt, int indice, bool moeda) {
    switch (sqlite3_column_type(stmt, indice)) {
    case SQLITE_NULL:
        return Valor();
    case SQLITE_INTEGER: {
        const int64_t inteiro = sqlite3_column_int64(stmt, indice);
        return moeda ? Valor(Moeda::DeInteiro(inteiro)) : Valor(inteiro);
    }
    case SQLITE_FLOAT: {
        const double real = sqlite3_column_double(stmt, indice);
        return moeda ? Valor(Moeda::DeDouble(real)) : Valor(real);
    }
    case SQLITE_BLOB: {
        const auto* bytes = static_cast<const char*>(sqlite3_column_blob(stmt, indice));
        const int tamanho = sqlite3_column_bytes(stmt, indice);
        return Valor(bytes != nullptr ? std::string(bytes, static_cast<size_t>(tamanho))
                                      : std::string());
    }
    default: {
        const auto* texto = reinterpret_cast<const char*>(sqlite3_column_text(stmt, indice));
        const int tamanho = sqlite3_column_bytes(stmt, indice);
        const std::string_view vista(texto != nullptr ? texto : "", static_cast<size_t>(tamanho));
        return moeda ? Valor(Moeda::DeTexto(vista)) : Valor(std::string(vista));
    }
    }
}

void Recordset::MoveNext() {
    ExigirAberto();
    if (eof_)
        throw Erro(Erro::SemRegistroAtual, "No current record.");
    Avancar();
}

void Recordset::Close() {
    ExigirAberto();
    comando_.reset();
    indices_.clear();
}

} // namespace tarvo
