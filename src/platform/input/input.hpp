// Keyboard and mouse as the game polls them: asynchronous key states, the cursor in screen
// coordinates and the cursor's display counter. The device implementation reads SDL; the
// scripted one lets tests and replays drive the game headless.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace platform {
using std::size_t;

// Every key the game reads.
enum class Key : uint8_t { A, D, E, F, Q, R, S, W, Z, Escape, Space, Return, LeftButton, RightButton, Count };

struct Point {
    int x = 0, y = 0;
    bool operator==(const Point&) const = default;
};

class Input {
public:
    virtual ~Input() = default;
    // Bit 15 set: the key is down now. Bit 0 set: it was pressed since this key was last asked
    // about (the flag is cleared by the query).
    virtual int16_t AsyncKeyState(Key key) = 0;
    // Cursor in screen coordinates.
    virtual Point GetCursorPos() = 0;
    virtual void SetCursorPos(Point p) = 0;
    virtual Point ClientToScreen(Point p) = 0;
    // Display counter: shown while >= 0. Returns the new count.
    virtual int ShowCursor(bool show) = 0;
    // A new scene starts with a clean keyboard: presses seen so far are forgotten, and a key
    // that is down now reads as up until it has been released once. The scene manager calls
    // this at every switch, so the key that ended one scene (the Escape that asked, whose
    // release a message box may have swallowed) does not act in the next.
    virtual void ForgetKeys() = 0;

    bool KeyDown(Key key) { return AsyncKeyState(key) < 0; }
};

// The key bookkeeping every input shares: the "pressed since last asked" flag per key, and the
// keys held across ForgetKeys, which read as up until they are released.
class KeyLatches {
public:
    // A press was seen. A key held across ForgetKeys must have been released before it.
    void Pressed(Key key);
    void Released(Key key);
    // The state bits of a key that is (or is not) down now; clears its pressed flag.
    int16_t Query(Key key, bool down);
    // Forgets the key's press; while downNow, the key reads as up until released.
    void Forget(Key key, bool downNow);
    // Forgets every press, holding nothing back.
    void ForgetPresses() { pressed_.fill(false); }

private:
    static constexpr size_t kKeys = static_cast<size_t>(Key::Count);
    std::array<bool, kKeys> pressed_{};
    std::array<bool, kKeys> stale_{};
};

// The input the game reads. The application installs the device input at start-up; tests
// install a ScriptedInput. Never null: a scripted input with nothing pressed is the default.
Input& GetInput();
void SetInput(Input* input);

// Input from a script: tests set keys and the cursor directly.
class ScriptedInput : public Input {
public:
    int16_t AsyncKeyState(Key key) override;
    Point GetCursorPos() override { return cursor_; }
    void SetCursorPos(Point p) override {
        cursor_ = p;
        ++setCursorCalls_;
    }
    Point ClientToScreen(Point p) override { return {p.x + windowOrigin.x, p.y + windowOrigin.y}; }
    int ShowCursor(bool show) override { return show ? ++cursorCount_ : --cursorCount_; }
    void ForgetKeys() override;

    // Holds or releases a key; pressing sets the "pressed since last query" flag.
    void SetKey(Key key, bool down);
    // A press and release between two queries.
    void Tap(Key key);
    void SetCursor(Point p) { cursor_ = p; }
    // What the events left: whether a key is held, and where the cursor stands.
    bool Held(Key key) const { return down_[static_cast<size_t>(key)]; }
    Point cursor() const { return cursor_; }
    int setCursorCalls() const { return setCursorCalls_; }
    int cursorCount() const { return cursorCount_; }

    Point windowOrigin;  // where the client area's (0, 0) lies on the screen

private:
    std::array<bool, static_cast<size_t>(Key::Count)> down_{};
    KeyLatches latches_;
    Point cursor_;
    int setCursorCalls_ = 0;
    int cursorCount_ = 0;
};

}  // namespace platform
