// What the fuzz targets of courses and traces check a course against, made in memory: a ground
// of a few slopes as large as the maps' reach, and the main and enemy gates' panels at the sizes
// the asset generator gives them. Then the three things a course is put through after it is
// read: the game's rules, the checker and the picture, drawn small.
#pragma once

#include <string>

#include "course/course_check.hpp"
#include "course/course_rules.hpp"
#include "course_picture.hpp"

namespace fuzz_world {

inline void Quad(platform::MeshData& mesh, Vec3 a, Vec3 b, Vec3 c, Vec3 d) {
    const auto first = static_cast<uint32_t>(mesh.vertices.size());
    for (Vec3 p : {a, b, c, d}) mesh.vertices.push_back({p, {0, 1, 0}, 0, 0});
    for (uint32_t i : {0u, 1u, 2u, 0u, 2u, 3u}) mesh.indices.push_back(first + i);
}

inline platform::MeshData Finished(platform::MeshData mesh) {
    mesh.subsets.push_back({0, static_cast<uint32_t>(mesh.indices.size())});
    mesh.materials.emplace_back();
    mesh.Finish();
    return mesh;
}

// A ground of four tiles at different heights, as far out as the maps reach.
inline platform::MeshData Ground() {
    platform::MeshData mesh;
    const float r = course_limits::kReachXZ;
    Quad(mesh, {-r, 0, 0}, {-r, 0, r}, {0, 40, r}, {0, 20, 0});
    Quad(mesh, {0, 20, 0}, {0, 40, r}, {r, 0, r}, {r, -60, 0});
    Quad(mesh, {-r, 0, -r}, {-r, 0, 0}, {0, 20, 0}, {0, 0, -r});
    Quad(mesh, {0, 0, -r}, {0, 20, 0}, {r, -60, 0}, {r, 300, -r});
    return Finished(std::move(mesh));
}

inline platform::MeshData Panel(float halfWidth, float bottom, float top) {
    platform::MeshData mesh;
    Quad(mesh, {-halfWidth, top, 0}, {halfWidth, top, 0}, {halfWidth, bottom, 0}, {-halfWidth, bottom, 0});
    return Finished(std::move(mesh));
}

inline const CourseMeshes& Meshes() {
    static const CourseMeshes meshes = [] {
        CourseMeshes m;
        m.mapA = Ground();
        m.mapD = Ground();
        m.gate = Panel(200, -120, 380);
        m.enemyGate = Panel(40, -40, 40);
        return m;
    }();
    return meshes;
}

// The rules, the checker and a small picture, as `korvelin-assets course --png` would run them.
// Whatever the course, each must end (libFuzzer's -timeout catches one that does not) and the
// checker must never call OK what the game refuses.
inline void CheckAndDraw(const CourseList& course, const RunTrace* trace) {
    const CourseGround ground = GroundOf(Meshes());
    const std::string refusal = FindUnplayableCourse(course, &ground);
    const CourseCheckReport report = CheckCourse(course, Meshes());
    if (!refusal.empty() && report.Ok()) __builtin_trap();
    static const TextRaster text;
    const CourseFeatures features = FindCourseFeatures(course, Meshes().gate);
    const CoursePictureInput input{course, features, Meshes().mapA, trace, "fuzz.dat", "fuzz.jsonl",
                                   report.mainLength, report.mainSeconds, 240, 120};
    DrawCoursePicture(input, text);
}

}  // namespace fuzz_world
