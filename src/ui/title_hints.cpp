// The title's hints.
#include "ui/title_hints.hpp"

#include "graphics/graphics_device.hpp"
#include "platform/i18n/language.hpp"

using namespace platform;

void DrawTitleHints(GraphicsDevice& gd, const std::string& crashReport) {
    const Matrix hint = MatrixScaling(2, 2, 0) * MatrixTranslation(12, float(gd.presentParams.backBufferHeight - 25), 0);
    gd.DrawText(Tr("O / (Y): OPTIONS"), 0xFFB4C8DC, &hint);
    if (crashReport.empty()) return;
    const Matrix said = MatrixScaling(2, 2, 0) * MatrixTranslation(12, 8, 0);
    gd.DrawText(Tr("The game ended in a crash last time. Its report:"), 0xFFFFC890, &said);
    const Matrix where = MatrixScaling(2, 2, 0) * MatrixTranslation(12, 36, 0);
    gd.DrawText(crashReport.c_str(), 0xFFFFC890, &where);
}
