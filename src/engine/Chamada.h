#pragma once

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

namespace tarvo {

// One argument of a recorded call: a Double, a Long or a String (a picture
// is recorded as the name of the image control it comes from).
using Argumento = std::variant<double, int32_t, std::string>;

// One engine call as it was made, read back from the page model.
struct Chamada {
    std::string op;
    std::vector<Argumento> args;
};

} // namespace tarvo
