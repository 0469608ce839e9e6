#pragma once

#include <memory>
#include <string>
#include <string_view>

struct libdeflate_compressor;

namespace tarvo {

// Flate (zlib format) compression of whole buffers with libdeflate, which
// writes the same format as zlib in less time. One compressor for one
// thread at a time: its tables are reused from one buffer to the next.
class CompressorFlate {
public:
    CompressorFlate();
    ~CompressorFlate();
    CompressorFlate(const CompressorFlate&) = delete;
    CompressorFlate& operator=(const CompressorFlate&) = delete;

    std::string Comprimir(std::string_view dados);

private:
    struct Liberar {
        void operator()(libdeflate_compressor* compressor) const;
    };
    std::unique_ptr<libdeflate_compressor, Liberar> compressor_;
};

} // namespace tarvo
