#pragma once
// Fuzz targets of the readers: each takes arbitrary bytes and checks what must
// hold for any input. Built two ways: with clang and libFuzzer, one program per
// target (bench/fuzz.sh), and with the normal compiler into test_fuzz, which
// replays the inputs kept in tests/fuzz/corpus/<target>/.
#include <QByteArray>

#include <cstddef>
#include <cstdint>
#include <vector>

namespace fuzz {

using Target = void (*)(const QByteArray& data);

struct Registered {
    const char* name;
    Target target;
};

// Called by FUZZ_TARGET; the targets linked into the program.
int Register(const char* name, Target target);
std::vector<Registered>& Targets();

// A condition that must hold did not: libFuzzer stops on the input, the replay fails the test.
void Failed(const char* condition, const char* file, int line);

} // namespace fuzz

#define FUZZ_TARGET(name)                                                                                    \
    static void fuzz_##name(const QByteArray& data);                                                         \
    [[maybe_unused]] static const int fuzz_registered_##name = fuzz::Register(#name, fuzz_##name);           \
    static void fuzz_##name(const QByteArray& data)

#define FUZZ_CHECK(condition)                                                                                \
    do {                                                                                                     \
        if (!(condition))                                                                                    \
            fuzz::Failed(#condition, __FILE__, __LINE__);                                                    \
    } while (0)
