// The developer overlay.
#include "editor/debug_ui.hpp"
#include "editor/ui_frame.hpp"

#include <imgui.h>
#include <imgui_internal.h>

#include <algorithm>
#include <cstdarg>

#include "chara/camera.hpp"
#include "motion/local_mover.hpp"

void DebugUi::Draw(uint32_t framesPerSecond, int frameCount) {
    if (!enabled || !InUiFrame()) return;
    ImGui::SetNextWindowPos(ImVec2(10, 10), ImGuiCond_FirstUseEver);
    ImGui::Begin("Frame", nullptr, ImGuiWindowFlags_AlwaysAutoResize);
    ImGui::Text("%u frames per second", framesPerSecond);
    ImGui::Text("frame %d", frameCount);
    ImGui::End();
}

void DebugUi::FlyControls(Matrix& playerWorld, const Matrix& mapWorld, const Model& map, const FlyKeys& keys) {
    if (keys.walk && !walkKeyLatch) walkMode = !walkMode;
    walkKeyLatch = keys.walk;
    if (walkMode) LocalMover::FollowGround(playerWorld, mapWorld, map);

    if (keys.forward) LocalMover::MoveForward(playerWorld, kFlyStep);
    if (keys.backward) LocalMover::MoveForward(playerWorld, -kFlyStep);
    if (keys.turnLeft) LocalMover::TurnLeft(playerWorld);
    if (keys.turnRight) LocalMover::TurnRight(playerWorld);
    if (keys.up) LocalMover::MoveUp(playerWorld);
    if (keys.down) LocalMover::MoveDown(playerWorld);
    if (keys.left) LocalMover::MoveSideways(playerWorld, -kFlyStep);
    if (keys.right) LocalMover::MoveSideways(playerWorld, kFlyStep);
}

void DebugUi::FreeLook(Camera& camera, const Controls& controls) const {
    float pitch = camera.pitch, yaw = camera.yaw;
    const int x = controls.lookX, y = controls.lookY;
    if (x < -kLookDeadZone || x > kLookDeadZone) yaw += float(x / 100.0);
    if (y < -kLookDeadZone) pitch = std::max(kLookPitchMin, float(pitch + y / 100.0));
    if (y > kLookDeadZone) pitch = std::min(kLookPitchMax, float(pitch + y / 100.0));

    if (!walkMode) return;
    camera.pitch = pitch;
    camera.yaw = yaw;
}

void DebugUi::ShowCameraState(float rayDistance, Vec3 playerPosition, Vec3 target) const {
    if (!enabled || !InUiFrame()) return;
    // The overlay's windows start side by side: the frame rate and the editor on the left,
    // the camera and the debug lines on the right.
    ImGui::SetNextWindowPos(ImVec2(ImGui::GetIO().DisplaySize.x - 250, 10), ImGuiCond_FirstUseEver);
    ImGui::SetNextWindowSize(ImVec2(240, 175), ImGuiCond_FirstUseEver);
    ImGui::Begin("CamState");
    ImGui::Text("RayDis:%f", rayDistance);
    ImGui::Text("NowPos\nx:\t%f\ny:\t%f\nz:\t%f", playerPosition.x, playerPosition.y, playerPosition.z);
    ImGui::Text("TargetPos\nx:\t%f\ny:\t%f\nz:\t%f", target.x, target.y, target.z);
    ImGui::End();
}

void DebugUi::DebugText(const char* format, ...) const {
    if (!enabled || !InUiFrame()) return;
    // Its lines grow with the enemies: it scrolls inside its own height instead of reaching
    // down over the score. The UI gives the window its first size before any line, so the
    // size is set here once, by hand.
    ImGui::SetWindowPos("Debug##Default", ImVec2(ImGui::GetIO().DisplaySize.x - 250, 195), ImGuiCond_FirstUseEver);
    if (!debugWindowSized_) ImGui::SetWindowSize("Debug##Default", ImVec2(240, 300), ImGuiCond_Always);
    debugWindowSized_ = true;
    va_list args;
    va_start(args, format);
    ImGui::TextV(format, args);
    va_end(args);
}
