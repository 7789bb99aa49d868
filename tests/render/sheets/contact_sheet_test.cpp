// The contact-sheet tool run under the test display into a fresh folder: every sheet is
// written at its size, every model shows up lit from the angles that must show it, every
// picture shows more than the checkerboard, neither the title, the course views nor the combat
// frames are black or washed out to white, the combat frames show their chain and their fire,
// and the run's frames their opening, hit flash and results.
#include <gtest/gtest.h>
#include <stb/stb_image.h>
#include <stdlib.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "sheet_layout.hpp"

namespace fs = std::filesystem;
using namespace contact_sheet;

namespace {

struct Picture {
    int width = 0, height = 0;
    std::vector<uint8_t> rgb;
    int Luma(int x, int y) const {
        const uint8_t* p = &rgb[(size_t(y) * width + x) * 3];
        return (p[0] * 299 + p[1] * 587 + p[2] * 114) / 1000;
    }
    const uint8_t* At(int x, int y) const { return &rgb[(size_t(y) * width + x) * 3]; }
};

// Brightness figures of a rectangle: mean luma 0..255, the share of near-white pixels and
// how many pixels are brighter than `lit`.
struct Figures {
    double mean = 0, white = 0;
    int lit = 0;
};
Figures Measure(const Picture& p, int x0, int y0, int w, int h, int lit = 40) {
    Figures f;
    double sum = 0;
    int white = 0;
    for (int y = y0; y < y0 + h; ++y)
        for (int x = x0; x < x0 + w; ++x) {
            const int l = p.Luma(x, y);
            sum += l;
            const uint8_t* c = p.At(x, y);
            if (c[0] > 235 && c[1] > 235 && c[2] > 235) ++white;
            if (l > lit) ++f.lit;
        }
    f.mean = sum / (double(w) * h);
    f.white = double(white) / (double(w) * h);
    return f;
}

// The tool runs once, into a fresh folder; each check below reads what it wrote.
class Sheets {
public:
    Sheets() {
        char pattern[] = "/tmp/korvelin-sheets-XXXXXX";
        if (!mkdtemp(pattern)) return;
        dir_ = pattern;
        const std::string command = std::string("'") + KORVELIN_CONTACT_SHEET + "' --game-dir '" KORVELIN_GAME_DIR
                                    "' --out '" + dir_.string() + "' > '" + (dir_ / "log.txt").string() + "' 2>&1";
        status = std::system(command.c_str());
    }
    ~Sheets() {
        std::error_code ec;
        if (!dir_.empty()) fs::remove_all(dir_, ec);
    }
    std::string Log() const {
        std::ifstream in(dir_ / "log.txt");
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }
    Picture Load(const char* name) const {
        Picture p;
        int channels = 0;
        uint8_t* data = stbi_load((dir_ / name).c_str(), &p.width, &p.height, &channels, 3);
        if (!data) return p;
        p.rgb.assign(data, data + size_t(p.width) * p.height * 3);
        stbi_image_free(data);
        return p;
    }
    int status = -1;

private:
    fs::path dir_;
};

void CheckSizes(const Sheets& sheets) {
    const struct {
        const char* name;
        int width, height;
    } cases[] = {
        {"models.png", SheetWidth(kModelTileWidth, kModelAngles),
         SheetHeight(kModelTileHeight, kModelCount * kModelAngles, kModelAngles)},
        {"pictures.png", SheetWidth(kPictureTileWidth, kPictureColumns),
         SheetHeight(kPictureTileHeight, kPictureCount, kPictureColumns)},
        {"course.png", SheetWidth(kFrameWidth, kCourseColumns), SheetHeight(kFrameHeight, kCourseViews, kCourseColumns)},
        {"title.png", kFrameWidth, kFrameHeight},
        {"combat.png", SheetWidth(kFrameWidth, kCombatColumns),
         SheetHeight(kFrameHeight, kCombatFrames, kCombatColumns)},
        {"run.png", SheetWidth(kFrameWidth, kRunColumns), SheetHeight(kFrameHeight, kRunFrames, kRunColumns)},
    };
    for (const auto& c : cases) {
        const Picture p = sheets.Load(c.name);
        ASSERT_FALSE(p.rgb.empty()) << c.name << " missing or unreadable\n" << sheets.Log();
        EXPECT_EQ(p.width, c.width) << c.name;
        EXPECT_EQ(p.height, c.height) << c.name;
    }
}

// The title and each course view: neither black nor washed out. The course views once had
// whole canyon walls turned white by a highlight on the added grid map.
void CheckFrames(const Picture& title, const Picture& course) {
    struct Case {
        const Picture* picture;
        int index;  // -1: the whole picture
    };
    const Case cases[] = {{&title, -1}, {&course, 0}, {&course, 1}, {&course, 2}, {&course, 3}};
    for (const Case& c : cases) {
        int x = 0, y = 0, w = c.picture->width, h = c.picture->height;
        if (c.index >= 0) {
            x = TileX(c.index, kFrameWidth, kCourseColumns), y = TileY(c.index, kFrameHeight, kCourseColumns);
            w = kFrameWidth, h = kFrameHeight;
        }
        const Figures f = Measure(*c.picture, x, y, w, h);
        EXPECT_GT(f.mean, 30.0) << "frame " << c.index;
        EXPECT_LT(f.mean, 170.0) << "frame " << c.index;
        EXPECT_LT(f.white, 0.02) << "frame " << c.index;
        // Far more than a label: much of the frame is lit by something.
        EXPECT_GT(f.lit, w * h / 5) << "frame " << c.index;
    }
}

// Pixels of a rectangle passing a colour test.
template <typename Test>
int Count(const Picture& p, int x0, int y0, int w, int h, Test test) {
    int n = 0;
    for (int y = y0; y < y0 + h; ++y)
        for (int x = x0; x < x0 + w; ++x) n += test(p.At(x, y));
    return n;
}

// The combat frames of a played run: lit, not washed out by the glow of explosions and sprites;
// the sky never cut out to the clear colour (the reticle's faint halo once wrote depth before
// the sky backdrop and left a black ring); the chain's red units in the chain's frame; and the
// explosions' fire in the three explosion frames, well beyond the sun's share of the quiet one.
void CheckCombat(const Picture& p) {
    enum { kBank, kShots, kChain, kBlast, kBlastLater, kShotExplosion };
    const auto fire = [](const uint8_t* c) { return c[0] > 220 && c[1] > 90 && c[1] < 215 && c[2] < 110; };
    const auto red = [](const uint8_t* c) { return c[0] > 110 && c[1] < 50 && c[2] < 50; };
    const auto clear = [](const uint8_t* c) { return c[0] < 6 && c[1] < 6 && c[2] < 6; };
    int quietFire = 0;
    for (int tile = 0; tile < kCombatFrames; ++tile) {
        const int x = TileX(tile, kFrameWidth, kCombatColumns), y = TileY(tile, kFrameHeight, kCombatColumns);
        const Figures f = Measure(p, x, y, kFrameWidth, kFrameHeight);
        EXPECT_GT(f.mean, 30.0) << "combat frame " << tile;
        EXPECT_LT(f.mean, 170.0) << "combat frame " << tile;
        EXPECT_LT(f.white, 0.03) << "combat frame " << tile;
        EXPECT_GT(f.lit, kFrameWidth * kFrameHeight / 2) << "combat frame " << tile;
        EXPECT_LT(Count(p, x, y, kFrameWidth, kFrameHeight / 2, clear), kFrameWidth * kFrameHeight / 200)
            << "combat frame " << tile << ": sky cut out to black";
        const int fireHere = Count(p, x, y, kFrameWidth, kFrameHeight, fire);
        if (tile == kBank) quietFire = fireHere;
        if (tile == kBlast || tile == kBlastLater || tile == kShotExplosion) {
            EXPECT_GT(fireHere, quietFire + 1000) << "combat frame " << tile << ": no explosion to be seen";
        }
        if (tile == kChain) {
            EXPECT_GT(Count(p, x, y, kFrameWidth, kFrameHeight, red), 100) << "no chain to be seen";
        }
    }
}

// The run's other moments: the opening still pale with its white, the hit flash red over the
// whole picture, and the result caption over both ends of the run.
void CheckRun(const Picture& p) {
    enum { kOpening, kHit, kShake, kDestroyedResult, kGoal, kGoalResult };
    const auto red = [](const uint8_t* c) { return c[0] > 150 && c[0] > 2 * c[2] && c[0] > 2 * c[1]; };
    const auto caption = [](const uint8_t* c) { return c[0] > 200 && c[1] > 200 && c[2] > 200; };
    const auto frame = [](int tile) { return std::pair{TileX(tile, kFrameWidth, kRunColumns), TileY(tile, kFrameHeight, kRunColumns)}; };
    const auto [ox, oy] = frame(kOpening);
    const auto [rx, ry] = frame(kDestroyedResult);
    EXPECT_GT(Measure(p, ox, oy, kFrameWidth, kFrameHeight).mean, Measure(p, rx, ry, kFrameWidth, kFrameHeight).mean + 40)
        << "the opening is no paler than the quiet result";
    const auto [hx, hy] = frame(kHit);
    EXPECT_GT(Count(p, hx, hy, kFrameWidth, kFrameHeight, red), kFrameWidth * kFrameHeight / 10) << "no red hit flash";
    for (int tile : {kShake, kDestroyedResult, kGoal, kGoalResult}) {
        const auto [x, y] = frame(tile);
        // "RESULT" stands across the top of the picture.
        EXPECT_GT(Count(p, x + 200, y + 40, 400, 80, caption), 150) << "no result caption in frame " << tile;
    }
}

// Every model shows from ahead and from above and behind (the pass-test planes vanish edge-on
// from the side, so that view may be empty), lit but not white; the label strip is left out.
void CheckModels(const Picture& p) {
    constexpr int kLabelRows = 30;
    for (int model = 0; model < kModelCount; ++model)
        for (int angle : {0, 2}) {
            const int tile = model * kModelAngles + angle;
            const int x = TileX(tile, kModelTileWidth, kModelAngles), y = TileY(tile, kModelTileHeight, kModelAngles);
            const Figures f = Measure(p, x, y + kLabelRows, kModelTileWidth, kModelTileHeight - kLabelRows, 16);
            EXPECT_GT(f.lit, 400) << "model row " << model << " angle " << angle;
            EXPECT_LT(f.white, 0.25) << "model row " << model << " angle " << angle;
        }
}

// Each picture tile holds more than the checkerboard and the frame round the picture.
void CheckPictures(const Picture& p) {
    for (int tile = 0; tile < kPictureCount; ++tile) {
        const int x0 = TileX(tile, kPictureTileWidth, kPictureColumns);
        const int y0 = TileY(tile, kPictureTileHeight, kPictureColumns) + kPictureLabelHeight;
        int own = 0;
        for (int y = y0; y < y0 + kPictureTileHeight - kPictureLabelHeight; ++y)
            for (int x = x0; x < x0 + kPictureTileWidth; ++x) {
                const uint8_t* c = p.At(x, y);
                const bool grey = c[0] == c[1] && c[1] == c[2] && (c[0] == 0x66 || c[0] == 0x99);
                const bool frame = c[0] == 0xFF && c[1] == 0xD0 && c[2] == 0x00;
                if (!grey && !frame) ++own;
            }
        EXPECT_GT(own, 50) << "picture tile " << tile;
    }
}

// One test: drawing the sheets takes a while, and every check reads the same run.
TEST(ContactSheet, SheetsAreDrawnAndLookRight) {
    if (!std::getenv("DISPLAY")) GTEST_SKIP() << "no display";
    const Sheets sheets;
    ASSERT_EQ(sheets.status, 0) << sheets.Log();
    {
        SCOPED_TRACE("sizes");
        CheckSizes(sheets);
    }
    const Picture title = sheets.Load("title.png"), course = sheets.Load("course.png");
    const Picture models = sheets.Load("models.png"), pictures = sheets.Load("pictures.png");
    const Picture combat = sheets.Load("combat.png"), run = sheets.Load("run.png");
    if (HasFatalFailure() || title.rgb.empty() || course.rgb.empty() || models.rgb.empty() || pictures.rgb.empty() ||
        combat.rgb.empty() || run.rgb.empty())
        return;
    {
        SCOPED_TRACE("title and course");
        CheckFrames(title, course);
    }
    {
        SCOPED_TRACE("models");
        CheckModels(models);
    }
    {
        SCOPED_TRACE("pictures");
        CheckPictures(pictures);
    }
    {
        SCOPED_TRACE("combat");
        CheckCombat(combat);
    }
    {
        SCOPED_TRACE("run");
        CheckRun(run);
    }
}

}  // namespace
