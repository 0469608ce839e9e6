#pragma once

#include "data/Recordset.h"

#include <memory>
#include <utility>
#include <vector>

namespace tarvo {

// Lets go of the given recordsets when it goes, however a build ends, so that
// a failed build leaves no statement open on the host's database.
class Liberacao {
public:
    explicit Liberacao(std::vector<std::unique_ptr<Recordset>*> recordsets)
        : recordsets_(std::move(recordsets)) {}
    ~Liberacao() {
        for (std::unique_ptr<Recordset>* rs : recordsets_)
            rs->reset();
    }
    Liberacao(const Liberacao&) = delete;
    Liberacao& operator=(const Liberacao&) = delete;

private:
    std::vector<std::unique_ptr<Recordset>*> recordsets_;
};

} // namespace tarvo
