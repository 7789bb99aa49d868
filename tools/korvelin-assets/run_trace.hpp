// What the course picture shows of a headless run: the player's path and where enemies were
// released, hits were taken and the run ended, read from the run's trace (JSON Lines, one
// object per frame). Title frames are skipped; a trace may hold several runs.
#pragma once

#include <cstddef>
#include <cstdint>
#include <istream>
#include <string>
#include <vector>

#include "math/math.hpp"

struct TracePoint {
    int64_t frame = -1;  // the line's "frame", -1 when it has none
    Vec3 pos;            // the player's position in that frame
};

struct TraceEvent {
    TracePoint at;
    int enemy = 0;           // releases: the enemy's number (1 for the first in the list)
    bool destroyed = false;  // ends: the run ended by the third hit, not at the goal
};

struct RunTrace {
    std::vector<std::vector<TracePoint>> paths;  // one line per run: its game frames in order
    std::vector<TraceEvent> releases;            // the frame an enemy's "released" turns true
    std::vector<TraceEvent> hits;                // frames where "hitsLeft" drops
    std::vector<TraceEvent> ends;                // the first frame of each run with "runOver"
    std::size_t gameFrames = 0;
};

// Lines longer than this are refused rather than held in memory.
inline constexpr std::size_t kMaxTraceLine = std::size_t(1) << 20;
// A trace file larger than this is refused before it is read: a run of ten minutes on a course
// at the course limits writes about 60 MiB.
inline constexpr std::size_t kMaxTraceBytes = std::size_t(256) << 20;

// Reads a whole trace. False with "NAME:LINE: reason" in *error when a line is too long, is not
// a JSON object, or holds a field of the wrong type (or "NAME: read error" when the stream
// fails or throws); `out` then holds the lines before it.
bool ReadRunTrace(std::istream& in, const std::string& name, RunTrace& out, std::string* error);

// Reads the trace file at `path` (at most kMaxTraceBytes; not a folder or a device). False with
// "PATH: reason" or "PATH:LINE: reason" in *error.
bool LoadRunTrace(const std::string& path, RunTrace& out, std::string* error);
