// Case mapping outside ASCII: folding names of several scripts, as the scan
// does for every catalogue entry, and the upper-case tile letter.
#include <benchmark/benchmark.h>

#include "core/text/fold.h"
#include "core/text/unicode.h"

namespace talvo::bench {
namespace {

constexpr const char* kNames[] = {
    "Paramètres d'Écran",
    "ÉDITEUR DE FORMULES",
    "Ελληνικό Σύστημα",
    "Диспетчер Задач",
    "ᏣᎳᎩ ᎦᏬᏂᎯᏍᏗ",
    "ᲥᲐᲠᲗᲣᲚᲘ ენა",
    "𐐔𐐯𐑅𐐨𐑉𐐯𐐻",
    "𞤀𞤣𞤤𞤢𞤥 𞤆𞤵𞤤𞤢𞤪",
    "İSTANBUL ŞEHRİ",
    "Ǆungla Ǉubav",
};

void fold_names(benchmark::State& state) {
    std::size_t bytes = 0;
    for (auto _ : state) {
        for (const char* name : kNames) {
            const std::string folded = fold(name);
            bytes += folded.size();
            benchmark::DoNotOptimize(folded.data());
        }
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(bytes));
}
BENCHMARK(fold_names)->Unit(benchmark::kNanosecond);

void upper_names(benchmark::State& state) {
    for (auto _ : state) {
        for (const char* name : kNames) {
            const std::string upper = to_upper(name);
            benchmark::DoNotOptimize(upper.data());
        }
    }
}
BENCHMARK(upper_names)->Unit(benchmark::kNanosecond);

}  // namespace
}  // namespace talvo::bench
