// korvelin-assets course FILE [MODEL_DIR]: reads a course file and checks every invariant the
// characters rely on, against the real map and gate meshes (by default those in the model
// folder beside the course: FILE/../../model).
#include <cstdio>
#include <filesystem>

#include "command_registry.hpp"
#include "course/course_file.hpp"
#include "course/course_check.hpp"
#include "json_writer.hpp"

namespace {

int Run(const CommandContext& ctx) {
    if (ctx.args.empty() || ctx.args.size() > 2) {
        std::fprintf(stderr, "usage: korvelin-assets course FILE [MODEL_DIR]\n");
        return 2;
    }
    const std::string& file = ctx.args[0];
    CourseList course;
    const CourseLoadReport load = LoadCourse(file, course);
    if (!load.opened) {
        std::fprintf(stderr, "korvelin-assets: %s\n", load.message.c_str());
        return 1;
    }
    const std::filesystem::path modelDir = ctx.args.size() == 2
                                               ? std::filesystem::path(ctx.args[1])
                                               : std::filesystem::absolute(file).parent_path().parent_path() / "model";
    CourseMeshes meshes;
    std::string error;
    if (!meshes.Load(modelDir.string(), &error)) {
        std::fprintf(stderr, "korvelin-assets: %s\n", error.c_str());
        return 1;
    }
    const CourseCheckReport report = CheckCourse(course, meshes);
    const bool ok = load.Ok() && report.Ok();
    if (ctx.json) {
        JsonWriter j;
        j.BeginObject();
        j.Key("file").Value(file);
        j.Key("records").Value(static_cast<uint64_t>(course.size()));
        j.Key("load_message").Value(load.message);
        j.Key("main_gates").Value(report.mainGates);
        j.Key("trigger_gates").Value(report.triggers);
        j.Key("routes").Value(report.routes);
        j.Key("main_length").Value(report.mainLength);
        j.Key("main_seconds").Value(report.mainSeconds);
        j.Key("ok").Value(ok);
        j.Key("findings").BeginArray();
        for (const CourseFinding& f : report.findings) {
            j.BeginObject();
            j.Key("check").Value(f.check);
            j.Key("ok").Value(f.ok);
            j.Key("detail").Value(f.detail);
            j.EndObject();
        }
        j.EndArray();
        j.EndObject();
        std::printf("%s\n", j.str().c_str());
    } else {
        std::printf("%s: %zu records, %d main-course gates, %d trigger gates, %d routes, %.0f units (%.1f s)\n",
                    file.c_str(), course.size(), report.mainGates, report.triggers, report.routes, report.mainLength,
                    report.mainSeconds);
        if (!load.message.empty()) std::printf("  load: %s\n", load.message.c_str());
        int failed = 0;
        for (const CourseFinding& f : report.findings)
            if (!f.ok) {
                ++failed;
                std::printf("  FAIL %s: %s\n", f.check.c_str(), f.detail.c_str());
            }
        std::printf("%s (%zu checks, %d failed)\n", ok ? "ok" : "NOT OK", report.findings.size(), failed);
    }
    // The file was read; the exit status also says whether the course holds.
    return ok ? 0 : 3;
}

CommandRegistration reg("course", "course FILE [MODEL_DIR]   check a course file against the maps and gates", &Run);

}  // namespace
