// korvelin-assets course FILE [MODEL_DIR] [--png OUT.png [--trace RUN.jsonl ...]]: reads a course
// file and checks every invariant the characters rely on, against the real map and gate meshes
// (MODEL_DIR's, else those beside the course, else the game's own). With --png it also draws the
// course from above, with the traces of headless runs over it when given (--trace may repeat).
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <optional>
#include <stdexcept>
#include <string>

#include "app/game_folder.hpp"
#include "command_registry.hpp"
#include "course/course_file.hpp"
#include "course/course_check.hpp"
#include "course_picture.hpp"
#include "json_writer.hpp"
#include "model_folder.hpp"
#include "run_trace.hpp"

namespace {

constexpr const char* kUsage = "usage: korvelin-assets course FILE [MODEL_DIR] [--png OUT.png [--trace RUN.jsonl ...]]\n";

struct Arguments {
    std::vector<std::string> files;  // FILE [MODEL_DIR]
    std::string png;
    std::vector<std::string> traces;
};

bool ParseArguments(const std::vector<std::string>& args, Arguments& out) {
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--png" || a == "--trace") {
            if (i + 1 == args.size()) {
                std::fprintf(stderr, "korvelin-assets course: %s needs a file name\n", a.c_str());
                return false;
            }
            if (a == "--png") out.png = args[++i];
            else out.traces.push_back(args[++i]);
        } else if (a.starts_with("--")) {
            std::fprintf(stderr, "korvelin-assets course: unknown option '%s'\n", a.c_str());
            return false;
        } else {
            out.files.push_back(a);
        }
    }
    if (out.files.empty() || out.files.size() > 2) return false;
    if (!out.traces.empty() && out.png.empty()) {
        std::fprintf(stderr, "korvelin-assets course: --trace draws over the picture; give --png too\n");
        return false;
    }
    return true;
}

// Reads every trace whole before anything is drawn, so a bad line costs no waiting. The runs
// of all of them are drawn together.
bool LoadTraces(const std::vector<std::string>& paths, RunTrace& all) {
    for (const std::string& path : paths) {
        std::string error;
        RunTrace trace;
        if (!LoadRunTrace(path, trace, &error)) {
            std::fprintf(stderr, "korvelin-assets: %s\n", error.c_str());
            return false;
        }
        auto append = [](auto& to, const auto& from) { to.insert(to.end(), from.begin(), from.end()); };
        append(all.paths, trace.paths);
        append(all.releases, trace.releases);
        append(all.hits, trace.hits);
        append(all.ends, trace.ends);
        all.gameFrames += trace.gameFrames;
    }
    return true;
}

// The legend's name for the traces: the file's, or how many there are.
std::string TraceTitle(const std::vector<std::string>& paths) {
    if (paths.size() == 1) return std::filesystem::path(paths[0]).filename().string();
    return std::to_string(paths.size()) + " traces";
}

bool WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (out) return true;
    std::fprintf(stderr, "korvelin-assets: cannot write %s\n", path.c_str());
    return false;
}

void PictureJson(JsonWriter& j, const std::string& png, const CoursePicture& picture) {
    j.Key("picture").BeginObject();
    j.Key("file").Value(png);
    j.Key("width").Value(picture.view.width);
    j.Key("height").Value(picture.view.height);
    j.Key("view").BeginObject();
    j.Key("left").Value(picture.view.left);
    j.Key("top").Value(picture.view.top);
    j.Key("pixelsPerUnit").Value(picture.view.pixelsPerUnit);
    j.EndObject();
    j.Key("markers").BeginArray();
    for (const PictureMarker& m : picture.markers) {
        j.BeginObject();
        j.Key("what").Value(m.what);
        if (m.record >= 0) j.Key("record").Value(m.record);
        if (m.enemy > 0) j.Key("enemy").Value(m.enemy);
        if (m.frame >= 0) j.Key("frame").Value(m.frame);
        j.Key("x").Value(m.pixel.x);
        j.Key("y").Value(m.pixel.y);
        j.EndObject();
    }
    j.EndArray();
    j.EndObject();
}

int Run(const CommandContext& ctx) {
    Arguments args;
    if (!ParseArguments(ctx.args, args)) {
        std::fprintf(stderr, "%s", kUsage);
        return 2;
    }
    // Said before the drawing, not after it.
    const std::filesystem::path pngFolder = std::filesystem::path(args.png).parent_path();
    std::error_code ec;
    if (!args.png.empty() && !pngFolder.empty() && !std::filesystem::is_directory(pngFolder, ec)) {
        std::fprintf(stderr, "korvelin-assets: cannot write %s: no folder %s\n", args.png.c_str(), pngFolder.c_str());
        return 1;
    }
    RunTrace trace;
    if (!LoadTraces(args.traces, trace)) return 1;
    const std::string& file = args.files[0];
    CourseList course;
    const CourseLoadReport load = LoadCourse(file, course);
    if (!load.opened) {
        std::fprintf(stderr, "korvelin-assets: %s\n", load.message.c_str());
        return 1;
    }
    std::filesystem::path modelDir;
    if (args.files.size() == 2) {
        modelDir = args.files[1];
    } else {
        const ModelFolderSearch search = FindModelFolder(file, std::filesystem::current_path(ec), RunningProgramFolder(),
                                                         KORVELIN_BUILD_GAME, KORVELIN_INSTALLED_DATA);
        if (search.found.empty()) {
            std::string tried;
            for (const std::filesystem::path& folder : search.tried) tried += (tried.empty() ? "" : ", ") + folder.string();
            std::fprintf(stderr, "korvelin-assets: no maps for %s in %s%s; name the folder that holds them (MODEL_DIR)\n",
                         file.c_str(), tried.c_str(), search.tried.size() < 2 ? " (no game folder found)" : "");
            return 1;
        }
        modelDir = search.found;
    }
    CourseMeshes meshes;
    std::string error;
    if (!meshes.Load(modelDir.string(), &error)) {
        std::fprintf(stderr, "korvelin-assets: %s\n", error.c_str());
        return 1;
    }
    const CourseCheckReport report = CheckCourse(course, meshes);
    const bool ok = load.Ok() && report.Ok();

    std::optional<CoursePicture> picture;
    if (!args.png.empty()) {
        try {
            const TextRaster text;
            const CourseFeatures features = FindCourseFeatures(course, meshes.gate);
            const CoursePictureInput input{course, features, meshes.mapA, args.traces.empty() ? nullptr : &trace,
                                           std::filesystem::path(file).filename().string(),
                                           args.traces.empty() ? std::string() : TraceTitle(args.traces), report.mainLength,
                                           report.mainSeconds, kPictureLongSide, kPictureMinShortSide};
            picture = DrawCoursePicture(input, text);
        } catch (const std::runtime_error& e) {
            std::fprintf(stderr, "korvelin-assets: %s\n", e.what());
            return 1;
        }
        if (!WriteFile(args.png, picture->image.EncodePng())) return 1;
    }

    if (ctx.json) {
        JsonWriter j;
        j.BeginObject();
        j.Key("file").Value(file);
        j.Key("model_dir").Value(modelDir.string());
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
        if (picture) PictureJson(j, args.png, *picture);
        j.EndObject();
        std::printf("%s\n", j.str().c_str());
    } else {
        std::printf("%s: %zu records, %d main-course gates, %d trigger gates, %d routes, %.0f units (%.1f s)\n",
                    file.c_str(), course.size(), report.mainGates, report.triggers, report.routes, report.mainLength,
                    report.mainSeconds);
        std::printf("  maps: %s\n", modelDir.c_str());
        if (!load.message.empty()) std::printf("  load: %s\n", load.message.c_str());
        int failed = 0;
        for (const CourseFinding& f : report.findings)
            if (!f.ok) {
                ++failed;
                std::printf("  FAIL %s: %s\n", f.check.c_str(), f.detail.c_str());
            }
        std::printf("%s (%zu checks, %d failed)\n", ok ? "ok" : "NOT OK", report.findings.size(), failed);
        if (picture)
            std::printf("picture %s: %d x %d pixels, %.4g pixels per unit\n", args.png.c_str(), picture->view.width,
                        picture->view.height, picture->view.pixelsPerUnit);
        if (!args.traces.empty())
            std::printf("trace %s: %zu game frames, %zu releases, %zu hits, %zu runs over\n", TraceTitle(args.traces).c_str(),
                        trace.gameFrames, trace.releases.size(), trace.hits.size(), trace.ends.size());
    }
    // The file was read; the exit status also says whether the course holds.
    return ok ? 0 : 3;
}

// Words of `text` in lines of at most `width` characters, the first after `indent`, the
// others two further in when `hanging`.
std::string Wrapped(const std::string& text, const std::string& indent, bool hanging = false, size_t width = 100) {
    std::string out, line = indent, lead = indent;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find(' ', start);
        if (end == std::string::npos) end = text.size();
        const std::string word = text.substr(start, end - start);
        if (line.size() > lead.size() && line.size() + 1 + word.size() > width) {
            out += line + "\n";
            lead = hanging ? indent + "  " : indent;
            line = lead;
        }
        line += (line.size() > lead.size() ? " " : "") + word;
        start = end + 1;
    }
    return out + line + "\n";
}

std::string Help() {
    std::string help = "course FILE [MODEL_DIR] [--png OUT.png [--trace RUN.jsonl ...]]\n";
    help += Wrapped("Checks a course file against the maps and gates (mapA.x, mapD.x, CheckPoint.x, CheckPoint2.x) of "
                    "MODEL_DIR or, when none is named, of the first folder that holds them: the model folder beside "
                    "the course's own (FILE/../../model, as data/model lies beside data/data), then the game's "
                    "data/model (the game folder found as the game finds it: the working folder when it holds data/ "
                    "and Shader/, the build tree's game/ beside this tool's bin/, the installed share/korvelin/). "
                    "It prints the course's size and length, the maps used, a line \"FAIL CHECK: what was found\" for "
                    "every check that fails, and \"ok\" or \"NOT OK\". --png OUT.png draws the course from above "
                    "whatever the checks find; --trace RUN.jsonl draws a headless run over it (given more than once, "
                    "the runs of every trace).",
                    "  ");
    help += "  The checks, and the rule each holds the course to:\n";
    for (const CourseRule& r : CourseCheckRules()) help += Wrapped(r.check + ": " + r.rule, "    ", true);
    help += Wrapped("Exit status: 0 the course was read and every check holds (ok); 1 the course, the maps or the "
                    "trace could not be read, or the picture not written; 2 a wrong command line; 3 the course was "
                    "read (and drawn) but a check failed (NOT OK).",
                    "  ");
    return help;
}

CommandRegistration reg("course", "course FILE [MODEL_DIR] [--png OUT.png [--trace RUN.jsonl ...]]   check a course file against the maps and gates; draw it", &Run, &Help);

}  // namespace
