// The immediate-mode UI on the window and the OpenGL device: its start, a frame begun every
// frame, drawn only when the developer overlay is on, and its shutdown. A headless run gets the
// UI without a window: scenes and the overlay issue their windows as usual, nothing is drawn.
#pragma once

namespace platform {
class Window;
class RenderDevice;
}

namespace UiBinding {

bool Init(platform::Window& window);
// The UI for a screen of this size with no window and no drawing; frames last 16 ms each.
void InitHeadless(int width, int height);
// Every raw window event goes through here first.
void HandleEvent(const void* sdlEvent);
void NewFrame();
// Hands the frame to the device to draw over the picture at Present, or ends it undrawn.
void EndFrame(platform::RenderDevice& device, bool draw);
void Shutdown();

}  // namespace UiBinding
