// The course seen from above over the map's shaded heights: main-course gates numbered in
// order, the goal, each enemy's route in its own colour from its spawn to where it joins the
// main course, trigger gates with the enemy they release; from a run's trace the player's path,
// each release, each hit and the end; a legend with the course's length and duration.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "course/course_file.hpp"
#include "course_features.hpp"
#include "image.hpp"
#include "picture_view.hpp"
#include "platform/mesh/mesh_data.hpp"
#include "run_trace.hpp"
#include "text_raster.hpp"

// Where a marker's centre went, in pixels, for tools and tests that check the picture.
struct PictureMarker {
    std::string what;     // "gate", "join", "release", "hit" or "end"
    int record = -1;      // gates and joins: the record in the course list
    int enemy = 0;        // joins and releases
    int64_t frame = -1;   // trace markers
    Vec2 pixel;
};

// 1600 pixels on the longer side, at least 760 on the other.
inline constexpr int kPictureLongSide = 1600;
inline constexpr int kPictureMinShortSide = 760;

struct CoursePictureInput {
    const CourseList& course;
    const CourseFeatures& features;
    const platform::MeshData& ground;  // mapA
    const RunTrace* trace = nullptr;
    std::string title;                 // the course file's name
    std::string traceTitle;            // the trace file's name
    float length = 0;                  // units along the main course
    float seconds = 0;                 // its duration at the player's speed
    int longSide = kPictureLongSide;   // pixels
    int minShortSide = kPictureMinShortSide;
};

struct CoursePicture {
    PictureView view;
    Image image;
    std::vector<PictureMarker> markers;
};

CoursePicture DrawCoursePicture(const CoursePictureInput& in, const TextRaster& text);
