#pragma once

#include <cups/cups.h>

#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tarvo {

// One print job on a CUPS destination through libcups's public API: the
// destination is looked up as CUPS names it (the default one honours
// CUPS_SERVER, LPDEST, PRINTER and lpoptions), a job is created, one PDF
// document is streamed to it and the job is closed. A job created and not
// concluded is cancelled when the object goes, so nothing of it prints.
class TrabalhoCups {
public:
    struct Opcoes {
        int copias = 1;
        bool agrupar = true;
        // The printer's own options as CUPS names them ("media",
        // "sides", …, see ImpressorasCups::Opcoes); the queue's default for
        // any not given.
        std::vector<std::pair<std::string, std::string>> propriedades;
    };

    // `impressora` "" is the default destination. Erro::SemImpressora when
    // there is none, or none of that name.
    explicit TrabalhoCups(const std::string& impressora);
    ~TrabalhoCups();
    TrabalhoCups(const TrabalhoCups&) = delete;
    TrabalhoCups& operator=(const TrabalhoCups&) = delete;

    const std::string& Impressora() const { return nome_; }

    // Creates the job and opens its one PDF document; Erro::FalhaImpressao,
    // with CUPS's reason, when the destination refuses it.
    void Iniciar(const std::string& titulo, const Opcoes& opcoes);
    // A piece of the document.
    void Escrever(std::string_view dados);
    // Closes the document: from here on the job prints.
    void Concluir();

private:
    struct LiberarDestinos {
        int quantos;
        void operator()(cups_dest_t* destinos) const { cupsFreeDests(quantos, destinos); }
    };
    struct LiberarInfo {
        void operator()(cups_dinfo_t* info) const { cupsFreeDestInfo(info); }
    };
    struct FecharConexao {
        void operator()(http_t* conexao) const { httpClose(conexao); }
    };

    [[noreturn]] void Recusa(const std::string& motivo) const;
    void Cancelar() noexcept;

    std::unique_ptr<cups_dest_t, LiberarDestinos> destinos_;
    cups_dest_t* destino_ = nullptr; // within destinos_
    std::string nome_;
    // The job's own connection: closing it drops a document half sent.
    std::unique_ptr<http_t, FecharConexao> conexao_;
    std::unique_ptr<cups_dinfo_t, LiberarInfo> info_;
    int trabalho_ = 0;
    bool documentoAberto_ = false;
    bool concluido_ = false;
};

} // namespace tarvo
