#include <RelatoriosTarvo/Database.h>

#include "data/Conexao.h"
#include "data/VigilanciaConsultas.h"

namespace tarvo {

Database::Database(const std::string& caminho) : conexao_(std::make_unique<Conexao>(caminho)) {}

Database::Database(sqlite3* emprestado) : conexao_(std::make_unique<Conexao>(emprestado)) {}

Database::~Database() = default;

void Database::DefinirTempoLimite(double segundos) {
    conexao_->Vigilancia().DefinirTempoLimite(segundos);
}

} // namespace tarvo
