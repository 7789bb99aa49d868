// The developer overlay.
#include "editor/debug_ui.hpp"
#include "editor/ui_frame.hpp"

#include <imgui.h>
#include <imgui_internal.h>

#include <algorithm>
#include <cstdarg>

#include "graphics/graphics_device.hpp"
#include "motion/local_mover.hpp"
#include "platform/window/input.hpp"

using platform::Key;

DebugUi* gDebugUi = nullptr;

void DebugUi::Draw(uint32_t framesPerSecond, int frameCount) {
    if (!enabled || !InUiFrame()) return;
    ImGui::SetNextWindowPos(ImVec2(10, 10), ImGuiCond_FirstUseEver);
    ImGui::Begin("Frame", nullptr, ImGuiWindowFlags_AlwaysAutoResize);
    ImGui::Text("%u frames per second", framesPerSecond);
    ImGui::Text("frame %d", frameCount);
    ImGui::End();
}

void DebugUi::FlyControls(Matrix& playerWorld, const Matrix& mapWorld, const Model& map) {
    platform::Input& input = platform::GetInput();
    const bool walkKey = input.KeyDown(Key::Z);
    if (walkKey && !walkKeyLatch) walkMode = !walkMode;
    walkKeyLatch = walkKey;
    if (walkMode) LocalMover::FollowGround(playerWorld, mapWorld, map);

    if (input.KeyDown(Key::W)) LocalMover::MoveForward(playerWorld, kFlyStep);
    if (input.KeyDown(Key::S)) LocalMover::MoveForward(playerWorld, -kFlyStep);
    if (input.KeyDown(Key::A)) LocalMover::TurnLeft(playerWorld);
    if (input.KeyDown(Key::D)) LocalMover::TurnRight(playerWorld);
    if (input.KeyDown(Key::R)) LocalMover::MoveUp(playerWorld);
    if (input.KeyDown(Key::F)) LocalMover::MoveDown(playerWorld);
    if (input.KeyDown(Key::Q)) LocalMover::MoveSideways(playerWorld, -kFlyStep);
    if (input.KeyDown(Key::E)) LocalMover::MoveSideways(playerWorld, kFlyStep);
}

void DebugUi::FreeLook(CameraAngles& camera) const {
    platform::Input& input = platform::GetInput();
    // The middle of the picture on the screen, measured the way the mouse look measures it, so
    // both agree wherever the window stands.
    const PresentParams& pp = GraphicsDevice::Instance().presentParams;
    const platform::Point centre = input.ClientToScreen({pp.backBufferWidth / 2, pp.backBufferHeight / 2});
    float pitch = camera.pitch, yaw = camera.yaw;

    const int x = input.GetCursorPos().x;
    if (x < centre.x - kLookDeadZone || x > centre.x + kLookDeadZone) yaw += float((x - centre.x) / 100.0);
    const int y = input.GetCursorPos().y;
    if (y < centre.y - kLookDeadZone) pitch = std::max(kLookPitchMin, float(pitch + (y - centre.y) / 100.0));
    if (y > centre.y + kLookDeadZone) pitch = std::min(kLookPitchMax, float(pitch + (y - centre.y) / 100.0));

    if (!walkMode) return;
    camera.pitch = pitch;
    camera.yaw = yaw;
}

void DebugUi::ShowCameraState(float rayDistance, Vec3 playerPosition, Vec3 target) {
    if (!InUiFrame()) return;
    // The overlay's windows start side by side: the frame rate and the editor on the left,
    // the camera and the debug lines on the right.
    ImGui::SetNextWindowPos(ImVec2(ImGui::GetIO().DisplaySize.x - 250, 10), ImGuiCond_FirstUseEver);
    ImGui::Begin("CamState");
    ImGui::Text("RayDis:%f", rayDistance);
    ImGui::Text("NowPos\nx:\t%f\ny:\t%f\nz:\t%f", playerPosition.x, playerPosition.y, playerPosition.z);
    ImGui::Text("TargetPos\nx:\t%f\ny:\t%f\nz:\t%f", target.x, target.y, target.z);
    ImGui::End();
}

void DebugUi::DebugText(const char* format, ...) {
    // Called every update: with the overlay off nothing is formatted only to be thrown away.
    if (!gDebugUi || !gDebugUi->enabled || !InUiFrame()) return;
    ImGui::SetWindowPos("Debug##Default", ImVec2(ImGui::GetIO().DisplaySize.x - 250, 200), ImGuiCond_FirstUseEver);
    va_list args;
    va_start(args, format);
    ImGui::TextV(format, args);
    va_end(args);
}
