// The title's hints.
#include "ui/title_hints.hpp"

#include "graphics/graphics_device.hpp"
#include "platform/i18n/language.hpp"

using namespace platform;

void DrawTitleHints(GraphicsDevice& gd) {
    const Matrix hint = MatrixScaling(2, 2, 0) * MatrixTranslation(12, float(gd.presentParams.backBufferHeight - 25), 0);
    gd.DrawText(Tr("O / (Y): OPTIONS"), 0xFFB4C8DC, &hint);
}
