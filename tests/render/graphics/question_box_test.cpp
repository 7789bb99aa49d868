// The game's own question box on the real window and device: drawn over the frozen last picture,
// and answered through the window's own events by the keyboard (Return the default, Escape and
// N no, Y yes, arrows and Tab to move), the mouse and a gamepad (SDL's virtual joystick), as a
// player would; closing the window answers the default and says so.
#include <SDL.h>

#include "../../support/virtual_pad.hpp"
#include "gl_fixture.hpp"
#include "ui/held_screen.hpp"
#include "ui/question_box.hpp"
#include "ui/question_panel.hpp"

namespace render_test {
namespace {

const DialogRequest kQuit{"ゲームを終了しますか？", "確認", DialogIcon::Question, DialogButtons::YesNo, false};
const DialogRequest kYesFirst{"フルスクリーンにしますか？", "確認", DialogIcon::Question, DialogButtons::YesNo, true};
const DialogRequest kReport{"Shader/Simple.fx: not found", "シェーダコンパイルエラー", DialogIcon::Error,
                            DialogButtons::Ok, false};

// One thing a player does, queued as SDL events before the box opens.
struct Act {
    enum Kind { Key, ShiftTab, Click, Pad } kind;
    int code = 0;          // scancode, or gamepad button
    Point at;              // Click: where the button goes down and up
    Point releaseAt{-1, -1};
};

Act K(SDL_Scancode sc) { return {Act::Key, sc, {}}; }
Act P(SDL_GameControllerButton b) { return {Act::Pad, b, {}}; }

class QuestionBoxTest : public GlFixture {
protected:
    void SetUp() override {
        GlFixture::SetUp();
        if (!window) return;
        if (!pad_) pad_ = test_pad::Attach(&padIndex_);
        if (!screens_) screens_ = new HeldScreen(*window);
        ASSERT_NE(pad_, nullptr) << SDL_GetError();
        Drain();
    }
    static void TearDownTestSuite() {
        if (screens_) screens_->Release();
        delete screens_;
        screens_ = nullptr;
        if (pad_) SDL_JoystickClose(pad_);
        pad_ = nullptr;
        GlFixture::TearDownTestSuite();
    }
    // Whatever the window still had is taken (the pad being plugged in, a close left over).
    void Drain() {
        WindowEvent e;
        while (window->PollEvent(&e)) {
        }
    }
    static void Push(SDL_Event e) { ASSERT_EQ(SDL_PushEvent(&e), 1) << SDL_GetError(); }
    void Queue(const Act& act) {
        SDL_Event e{};
        switch (act.kind) {
            case Act::Key:
            case Act::ShiftTab:
                e.type = SDL_KEYDOWN;
                e.key.keysym.scancode = act.kind == Act::Key ? SDL_Scancode(act.code) : SDL_SCANCODE_TAB;
                e.key.keysym.sym = SDL_GetKeyFromScancode(e.key.keysym.scancode);
                e.key.keysym.mod = act.kind == Act::ShiftTab ? KMOD_LSHIFT : KMOD_NONE;
                Push(e);
                e.type = SDL_KEYUP;
                Push(e);
                break;
            case Act::Click: {
                const Point up = act.releaseAt.x >= 0 ? act.releaseAt : act.at;
                e.type = SDL_MOUSEMOTION;
                e.motion.x = act.at.x;
                e.motion.y = act.at.y;
                Push(e);
                e = {};
                e.type = SDL_MOUSEBUTTONDOWN;
                e.button.button = SDL_BUTTON_LEFT;
                e.button.x = act.at.x;
                e.button.y = act.at.y;
                Push(e);
                e.type = SDL_MOUSEBUTTONUP;
                e.button.x = up.x;
                e.button.y = up.y;
                Push(e);
                break;
            }
            case Act::Pad:
                SDL_JoystickSetVirtualButton(pad_, act.code, 1);
                SDL_JoystickUpdate();
                SDL_JoystickSetVirtualButton(pad_, act.code, 0);
                SDL_JoystickUpdate();
                break;
        }
    }
    // The picture the box freezes: red all over.
    void RedFrame() {
        ASSERT_TRUE(device().BeginScene());
        device().Clear(kClearTarget | kClearZBuffer, 0xFFFF0000, 1.0f, 0);
        device().EndScene();
    }
    // Queues the acts, then a close (so a box the acts leave unanswered still returns), and asks.
    QuestionResult Ask(const DialogRequest& request, const std::vector<Act>& acts) {
        RedFrame();
        for (const Act& act : acts) Queue(act);
        SDL_Event close{};
        close.type = SDL_QUIT;
        Push(close);
        const QuestionResult result = AskInGameBox(*screens_, request, true);
        Drain();
        return result;
    }
    // The middle of a button of the box as laid out on the 1280 x 720 window.
    static Point Centre(const DialogRequest& request, int button) {
        const QuestionPanel panel(request, kW, kH, [](const std::string& s) { return int(s.size()) * 10; });
        const auto& r = panel.buttons[button].rect;
        return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    }

    static inline HeldScreen* screens_ = nullptr;
    static inline SDL_Joystick* pad_ = nullptr;
    static inline int padIndex_ = -1;
};

TEST_F(QuestionBoxTest, KeyboardMouseAndGamepadAnswerIt) {
    const Point yes = Centre(kQuit, 0), no = Centre(kQuit, 1);
    const struct {
        const char* what;
        const DialogRequest& request;
        std::vector<Act> acts;
        DialogAnswer answer;
    } cases[] = {
        {"Return gives the default", kQuit, {K(SDL_SCANCODE_RETURN)}, DialogAnswer::No},
        {"Escape is No", kQuit, {K(SDL_SCANCODE_ESCAPE)}, DialogAnswer::No},
        {"Y is Yes", kQuit, {K(SDL_SCANCODE_Y)}, DialogAnswer::Yes},
        {"on Yes, N is No", kQuit, {K(SDL_SCANCODE_LEFT), K(SDL_SCANCODE_N)}, DialogAnswer::No},
        {"on Yes, Escape is still No", kQuit, {K(SDL_SCANCODE_LEFT), K(SDL_SCANCODE_ESCAPE)}, DialogAnswer::No},
        {"left arrow, then Return", kQuit, {K(SDL_SCANCODE_LEFT), K(SDL_SCANCODE_RETURN)}, DialogAnswer::Yes},
        {"Tab twice comes round", kQuit, {K(SDL_SCANCODE_TAB), K(SDL_SCANCODE_TAB), K(SDL_SCANCODE_KP_ENTER)},
         DialogAnswer::No},
        {"Shift+Tab, then Space", kQuit, {{Act::ShiftTab, 0, {}}, K(SDL_SCANCODE_SPACE)}, DialogAnswer::Yes},
        {"a default of Yes", kYesFirst, {K(SDL_SCANCODE_RETURN)}, DialogAnswer::Yes},
        {"Escape against a default of Yes", kYesFirst, {K(SDL_SCANCODE_ESCAPE)}, DialogAnswer::No},
        {"a key of the game answers nothing", kQuit, {K(SDL_SCANCODE_A), K(SDL_SCANCODE_RETURN)}, DialogAnswer::No},
        {"a click on はい", kQuit, {{Act::Click, 0, yes}}, DialogAnswer::Yes},
        {"a click on いいえ", kQuit, {{Act::Click, 0, no}}, DialogAnswer::No},
        {"pressed on はい, let go beside it, then Return", kQuit,
         {{Act::Click, 0, yes, {yes.x, yes.y + 200}}, K(SDL_SCANCODE_RETURN)}, DialogAnswer::Yes},
        {"the south button presses the default", kQuit, {P(SDL_CONTROLLER_BUTTON_A)}, DialogAnswer::No},
        {"the east button is No", kQuit, {P(SDL_CONTROLLER_BUTTON_DPAD_LEFT), P(SDL_CONTROLLER_BUTTON_B)}, DialogAnswer::No},
        {"d-pad left, then south", kQuit, {P(SDL_CONTROLLER_BUTTON_DPAD_LEFT), P(SDL_CONTROLLER_BUTTON_A)},
         DialogAnswer::Yes},
        {"Back is Escape", kQuit, {P(SDL_CONTROLLER_BUTTON_BACK)}, DialogAnswer::No},
        {"Start presses the focused button", kQuit,
         {P(SDL_CONTROLLER_BUTTON_DPAD_RIGHT), P(SDL_CONTROLLER_BUTTON_DPAD_RIGHT), P(SDL_CONTROLLER_BUTTON_START)},
         DialogAnswer::No},
        {"a report is acknowledged", kReport, {K(SDL_SCANCODE_ESCAPE)}, DialogAnswer::Ok},
    };
    for (const auto& c : cases) {
        const QuestionResult result = Ask(c.request, c.acts);
        EXPECT_FALSE(result.closed) << c.what;
        EXPECT_EQ(result.answer, c.answer) << c.what;
    }
}

TEST_F(QuestionBoxTest, ClosingTheWindowAnswersTheDefault) {
    QuestionResult result = Ask(kQuit, {});
    EXPECT_TRUE(result.closed);
    EXPECT_EQ(result.answer, DialogAnswer::No);
    result = Ask(kYesFirst, {K(SDL_SCANCODE_RIGHT)});
    EXPECT_TRUE(result.closed);
    EXPECT_EQ(result.answer, DialogAnswer::Yes);
}

TEST_F(QuestionBoxTest, ItIsDrawnOverTheFrozenPicture) {
    Ask(kQuit, {K(SDL_SCANCODE_RETURN)});
    // The back buffer holds the box as last shown: the red picture dimmed around it.
    const std::vector<uint8_t> px = device().ReadPixels(kBackBuffer);
    const Pixel corner = At(px, 20, 20);
    EXPECT_NEAR(corner.r, 102, 3) << "the frozen picture, dimmed";
    EXPECT_EQ(corner.g, 0);
    const QuestionPanel panel(kQuit, kW, kH, [](const std::string& s) { return int(s.size()) * 10; });
    // Between the message and the buttons, where nothing but the face is drawn.
    const Point inside{(panel.buttons[0].rect.left + panel.buttons[1].rect.right) / 2, panel.textArea.bottom + 14};
    const Pixel face = At(px, inside.x, inside.y);
    EXPECT_LT(face.r, 60) << "the box's face, not the red behind it";
    EXPECT_LT(face.b - face.r, 60);
    // Its edge lights up in the game's cyan, and the focused button (いいえ) stands out.
    const Pixel edge = At(px, inside.x, panel.box.top - 1);
    EXPECT_GT(edge.g, 180);
    EXPECT_GT(edge.b, 180);
    const Point no = Centre(kQuit, 1);
    const Pixel focused = At(px, no.x - 50, no.y - 15), other = At(px, Centre(kQuit, 0).x - 50, no.y - 15);
    EXPECT_GT(focused.b, other.b + 60);
    // Text is written on it: bright pixels in the caption bar and in the message's line.
    int bright = 0;
    for (int y = panel.caption.top; y < panel.textArea.bottom; ++y)
        for (int x = panel.box.left; x < panel.box.right; ++x) bright += At(px, x, y).r > 200 && At(px, x, y).g > 200;
    EXPECT_GT(bright, 150);
}

}  // namespace
}  // namespace render_test
