// How the contact sheets are laid out: tile sizes, columns and gutters. The sheet tool and its
// test both read these, so a change of layout cannot leave the test checking the wrong tiles.
#pragma once

namespace contact_sheet {

constexpr int kFrameWidth = 1280;  // every tile is cut from one frame of this size
constexpr int kFrameHeight = 720;
constexpr int kGutter = 4;                 // dark lines between tiles
constexpr unsigned kGutterColor = 0x202020;  // RGB

// models.png: one row per model, one column per angle; each frame shrunk by kModelShrink.
constexpr int kModelCount = 20;
constexpr int kModelAngles = 3;
constexpr int kModelShrink = 3;
constexpr int kModelTileWidth = kFrameWidth / kModelShrink;    // 426
constexpr int kModelTileHeight = kFrameHeight / kModelShrink;  // 240

// pictures.png: four tiles per frame at their real size, kPictureColumns across.
constexpr int kPictureCount = 22;
constexpr int kPictureColumns = 3;
constexpr int kPictureTileWidth = kFrameWidth / 2;
constexpr int kPictureTileHeight = kFrameHeight / 2;
constexpr int kPictureLabelHeight = 22;  // the strip above each picture that names it

// course.png: whole frames, two across.
constexpr int kCourseViews = 4;
constexpr int kCourseColumns = 2;

// combat.png: whole frames of a played run, two across.
constexpr int kCombatFrames = 6;
constexpr int kCombatColumns = 2;
// run.png: whole frames of the opening, a hit, the run's two ends and their results.
constexpr int kRunFrames = 6;
constexpr int kRunColumns = 2;

// The size of a sheet of `count` tiles of w x h, `columns` across, with gutters all round.
constexpr int SheetWidth(int w, int columns) { return columns * w + (columns + 1) * kGutter; }
constexpr int SheetHeight(int h, int count, int columns) {
    const int rows = (count + columns - 1) / columns;
    return rows * h + (rows + 1) * kGutter;
}
// Top-left corner of tile `index`.
constexpr int TileX(int index, int w, int columns) { return kGutter + (index % columns) * (w + kGutter); }
constexpr int TileY(int index, int h, int columns) { return kGutter + (index / columns) * (h + kGutter); }

}  // namespace contact_sheet
