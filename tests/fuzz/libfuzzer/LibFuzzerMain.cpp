// Entry of a libFuzzer program: the one target linked into it.
#include "FuzzTarget.h"

#include <cstdio>
#include <cstdlib>

void fuzz::Failed(const char* condition, const char* file, int line) {
    std::fprintf(stderr, "%s:%d: %s does not hold\n", file, line, condition);
    std::abort();
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // Raw data, not a copy: a read past the input's end is then a read past libFuzzer's buffer.
    fuzz::Targets().front().target(
        QByteArray::fromRawData(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)));
    return 0;
}
