// The frame runner.
#include "frame_runner.hpp"

#include <cstdio>

#include "graphics/graphics_device.hpp"

using namespace platform;

namespace {

// A scene whose drawing is given by the sheet being made.
class SheetScene : public SceneBase {
public:
    explicit SheetScene(const FrameDrawing& drawing) : drawing_(drawing) { sceneId = kSceneTitle; }
    SceneId Update(const Controls&) override { return sceneId; }
    void PreDraw() override {
        if (drawing_.preDraw) drawing_.preDraw();
    }
    void Draw3D() override {
        if (drawing_.draw3d) drawing_.draw3d();
    }
    void Draw2D() override {
        if (drawing_.draw2d) drawing_.draw2d();
    }

private:
    FrameDrawing drawing_;
};

}  // namespace

FrameRunner::FrameRunner(SceneManager& manager) : manager_(manager) {
    white_.CreateTarget(1, 1, 1, TextureUsage::None);
    white_.Fill(0xFFFFFFFF);
}

FrameRunner::~FrameRunner() { white_.Release(); }

std::vector<uint8_t> FrameRunner::Finish() {
    RenderDevice& d = *GraphicsDevice::Instance().device;
    std::vector<uint8_t> pixels = d.ReadPixels(kBackBuffer);
    d.Present(d.BackBufferWidth(), d.BackBufferHeight());
    for (const std::string& e : d.errors()) std::fprintf(stderr, "korvelin-contact-sheet: device: %s\n", e.c_str());
    errorCount_ += int(d.errors().size());
    d.ClearErrors();
    return pixels;
}

std::vector<uint8_t> FrameRunner::SceneFrame() {
    manager_.Draw();
    return Finish();
}

std::vector<uint8_t> FrameRunner::Frame(const FrameDrawing& drawing) {
    // Every frame starts from the game's default states, so one sheet's drawing cannot leak
    // into the next.
    GraphicsDevice::Instance().SetDefaultStates();
    manager_.scene = std::make_unique<SheetScene>(drawing);
    manager_.Draw();
    // The drawing may refer to the caller's locals: the scene goes with the frame.
    manager_.scene.reset();
    return Finish();
}

void FrameRunner::Box(float x, float y, float w, float h, uint32_t argb, float z) {
    const Matrix m = MatrixScaling(w, h, 1) * MatrixTranslation(x, y, z);
    GraphicsDevice::Instance().DrawSprite(&white_, argb, &m);
}

void FrameRunner::Label(const std::string& text, float x, float y, float scale) {
    GraphicsDevice& gd = GraphicsDevice::Instance();
    if (!gd.font) return;
    const RectI size = gd.font->Measure(text);
    const float pad = 3.0f * scale;
    Box(x, y, float(size.Width()) * scale + 2 * pad, float(gd.fontDesc.height) * scale + 2 * pad, 0xC0000000);
    const Matrix m = MatrixScaling(scale, scale, 1) * MatrixTranslation(x + pad, y + pad, 0);
    gd.DrawText(text.c_str(), 0xFFFFFFFF, &m);
}

std::vector<uint8_t> FrameRunner::LabelledFrame(SceneBase& scene, const std::string& label) {
    FrameDrawing drawing;
    drawing.preDraw = [&] { scene.PreDraw(); };
    drawing.draw3d = [&] { scene.Draw3D(); };
    drawing.draw2d = [&] {
        scene.Draw2D();
        Label(label, 8, 8, 2.0f);
    };
    return Frame(drawing);
}
