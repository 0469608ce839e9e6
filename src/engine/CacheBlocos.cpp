#include "engine/CacheBlocos.h"

namespace tarvo {

CacheBlocos::CacheBlocos(size_t orcamento) : orcamento_(orcamento) {}

size_t CacheBlocos::Hash::operator()(const Chave& chave) const {
    size_t valor = static_cast<size_t>(chave.pagina);
    for (const int parte : {chave.dpi, chave.coluna, chave.linha}) {
        valor = valor * 1000003u ^ static_cast<size_t>(parte);
    }
    return valor;
}

const QImage* CacheBlocos::Buscar(const Chave& chave) {
    const auto item = indice_.find(chave);
    if (item == indice_.end()) {
        return nullptr;
    }
    entradas_.splice(entradas_.begin(), entradas_, item->second);
    item->second->quadro = quadro_;
    return &item->second->imagem;
}

const QImage& CacheBlocos::Guardar(const Chave& chave, QImage imagem) {
    const auto antiga = indice_.find(chave);
    if (antiga != indice_.end()) {
        bytes_ -= static_cast<size_t>(antiga->second->imagem.sizeInBytes());
        entradas_.erase(antiga->second);
        indice_.erase(antiga);
    }
    bytes_ += static_cast<size_t>(imagem.sizeInBytes());
    entradas_.push_front(Entrada{chave, std::move(imagem), quadro_});
    indice_[chave] = entradas_.begin();
    Liberar();
    return entradas_.front().imagem;
}

void CacheBlocos::Liberar() {
    while (bytes_ > orcamento_ && !entradas_.empty() && entradas_.back().quadro != quadro_) {
        bytes_ -= static_cast<size_t>(entradas_.back().imagem.sizeInBytes());
        indice_.erase(entradas_.back().chave);
        entradas_.pop_back();
    }
}

void CacheBlocos::ManterResolucao(int dpi) {
    for (auto item = entradas_.begin(); item != entradas_.end();) {
        if (item->chave.dpi == dpi) {
            ++item;
            continue;
        }
        bytes_ -= static_cast<size_t>(item->imagem.sizeInBytes());
        indice_.erase(item->chave);
        item = entradas_.erase(item);
    }
}

void CacheBlocos::Limpar() {
    entradas_.clear();
    indice_.clear();
    bytes_ = 0;
}

} // namespace tarvo
