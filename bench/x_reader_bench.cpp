// Loading the game's three maps with our .x reader against the former Assimp loader, and what
// refusing each damaged file costs in time and peak heap.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <atomic>
#include <cstdlib>
#include <new>
#include <string>

#include "platform/mesh/x_file_loader.hpp"
#include "../tests/unit/mesh/x_damaged_files.hpp"
#ifdef KORVELIN_BENCH_ASSIMP
#include "../tests/unit/mesh/assimp_x_loader.hpp"
#endif

// Heap in use and its peak, counted by replacing the global allocation functions.
namespace {
std::atomic<size_t> heapNow{0};
std::atomic<size_t> heapPeak{0};
}  // namespace

void* operator new(size_t size) {
    void* p = std::malloc(size ? size : 1);
    if (!p) throw std::bad_alloc();
    const size_t now = heapNow += malloc_usable_size(p);
    size_t peak = heapPeak.load();
    while (now > peak && !heapPeak.compare_exchange_weak(peak, now)) {
    }
    return p;
}
void operator delete(void* p) noexcept {
    if (!p) return;
    heapNow -= malloc_usable_size(p);
    std::free(p);
}
void operator delete(void* p, size_t) noexcept { operator delete(p); }

namespace {

const char* const kMaps[] = {"mapA.x", "mapB.x", "mapD.x"};

template <bool (*Load)(const std::string&, platform::MeshData&, std::string&)>
void BM_LoadMap(benchmark::State& state) {
    const std::string path = std::string(KORVELIN_GAME_DIR "/data/model/") + kMaps[state.range(0)];
    state.SetLabel(kMaps[state.range(0)]);
    for (auto _ : state) {
        platform::MeshData mesh;
        std::string error;
        if (!Load(path, mesh, error)) {
            state.SkipWithError(error.c_str());
            break;
        }
        benchmark::DoNotOptimize(mesh.indices.data());
    }
}
BENCHMARK(BM_LoadMap<platform::LoadXFile>)->Name("LoadMap/ours")->DenseRange(0, 2)->Unit(benchmark::kMillisecond);
#ifdef KORVELIN_BENCH_ASSIMP
BENCHMARK(BM_LoadMap<platform::LoadXFileWithAssimp>)->Name("LoadMap/assimp")->DenseRange(0, 2)->Unit(benchmark::kMillisecond);
#endif

// Each damaged file of the reader's tests: the time to refuse it and the heap it needed at most.
void BM_RefuseDamaged(benchmark::State& state) {
    static const std::vector<DamagedXFile> files = DamagedXFiles();
    const DamagedXFile& f = files[state.range(0)];
    state.SetLabel(f.what);
    size_t peak = 0;
    for (auto _ : state) {
        platform::MeshData mesh;
        std::string error;
        heapPeak = heapNow.load();
        const size_t before = heapNow;
        if (platform::ReadXFile(f.bytes, "damaged.x", mesh, error)) state.SkipWithError("read a damaged file");
        peak = std::max(peak, heapPeak - before);
    }
    state.counters["peak_heap_KB"] = static_cast<double>(peak) / 1024.0;
    state.counters["input_KB"] = static_cast<double>(f.bytes.size()) / 1024.0;
}
BENCHMARK(BM_RefuseDamaged)->DenseRange(0, static_cast<int>(DamagedXFiles().size()) - 1)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
