// The six sheets. Each renders through the runner with the game folder as the working
// directory and writes one PNG into `outDir`; false with a message when it could not.
#pragma once

#include <string>
#include <vector>

class FrameRunner;

bool WriteModelSheet(FrameRunner& runner, const std::string& outDir, std::string* error);
bool WritePictureSheet(FrameRunner& runner, const std::string& outDir, std::string* error);
bool WriteCourseSheet(FrameRunner& runner, const std::string& outDir, std::string* error);
bool WriteTitleSheet(FrameRunner& runner, const std::string& outDir, std::string* error);
bool WriteCombatSheet(FrameRunner& runner, const std::string& outDir, std::string* error);
bool WriteRunSheet(FrameRunner& runner, const std::string& outDir, std::string* error);

// The regular files in `folder` whose names end in `extension`, sorted by name.
std::vector<std::string> ListFiles(const std::string& folder, const std::string& extension);
