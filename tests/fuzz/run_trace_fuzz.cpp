// Fuzz target: any bytes read as a headless run's trace. Reading must not crash; a refusal
// names a line the input has; what is read holds together (events only in runs that exist,
// enemies numbered from 1, at most one end per run) and reads the same a second time. What was
// read is then drawn over a small course, which must end in time on any trace.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

#include "course_world.hpp"
#include "run_trace.hpp"

namespace {

// A start, a trigger gate, a goal and one enemy's route, over the fuzz world's ground.
const CourseList& Course() {
    static const CourseList course = [] {
        CourseList c;
        const float at[][5] = {{0, 0, -100, -103, 0}, {3, 0, -100, -103, 600}, {2, 0, -100, -103, 1200},
                               {0, 1, 400, 20, 0}, {1, 1, 300, 20, 300}, {2, 1, 0, 20, 600}};
        for (const auto& a : at) {
            auto cp = std::make_unique<CheckPoint>();
            cp->kind = static_cast<int>(a[0]);
            cp->enemyNo = static_cast<int>(a[1]);
            cp->world = MatrixTranslation(a[2], a[3], a[4]);
            c.push_back(std::move(cp));
        }
        return c;
    }();
    return course;
}

bool Read(const std::string& text, RunTrace& trace, std::string& error) {
    std::istringstream in(text);
    return ReadRunTrace(in, "f", trace, &error);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    RunTrace trace;
    std::string error;
    const bool ok = Read(text, trace, error);
    if (!ok) {
        const size_t lines = static_cast<size_t>(std::count(text.begin(), text.end(), '\n')) + 1;
        if (!error.starts_with("f:")) std::abort();
        if (std::stoul(error.substr(2)) > lines) std::abort();
        return 0;
    }
    size_t points = 0;
    for (const auto& path : trace.paths) points += path.size();
    if (points > trace.gameFrames || trace.ends.size() > trace.paths.size()) std::abort();
    if ((trace.gameFrames == 0) != trace.paths.empty()) std::abort();
    for (const TraceEvent& e : trace.releases)
        if (e.enemy < 1) std::abort();
    RunTrace again;
    if (!Read(text, again, error) || again.gameFrames != trace.gameFrames || again.releases.size() != trace.releases.size() ||
        again.hits.size() != trace.hits.size() || again.ends.size() != trace.ends.size())
        std::abort();
    fuzz_world::CheckAndDraw(Course(), &trace);
    return 0;
}
