#pragma once

#include <string>

namespace tarvo {

class Documento;

// The record of a document as JSON: {"chamadas": [{"op": ..., "args": [...]}]},
// every call in order, Doubles in the shortest form that reads back to the
// same double (a whole one as "2.0"), Longs as integers, texts as strings and
// pictures as the name of their image control.
class RegistroJson {
public:
    static std::string Escrever(const Documento& documento);
};

} // namespace tarvo
