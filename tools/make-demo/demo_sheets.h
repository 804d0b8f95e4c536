// Each picture of the demo project as a canvas, laid out the way the player
// reads it (cell sizes and places are noted with each function).
#pragma once

#include "tools/make-demo/canvas.h"

namespace demo {

Canvas PalettePicture();       // 16 x 24: rows 0-7 colour 0, then colour k at (k mod 16, 8 + k / 16)
Canvas DebugPicture();         // 32 x 32
Canvas BlockSheet();           // 320 x 480: cell n at ((n / 15) * 32, (n mod 15) * 32)
Canvas CharacterSheet();       // 512 x 480: graphic n in row n, frame f in column f, cells of 32
Canvas ShotSheet();            // 128 x 480: graphic g, frame f at ((f + (g / 30) * 2) * 16, (g mod 30) * 16)
Canvas ItemSheet();            // 256 x 480: item n, frame f at ((n / 15) * 64 + f * 32, (n mod 15) * 32)
Canvas ItemMiniSheet();        // 128 x 240: item n at ((n / 15) * 32, (n mod 15) * 16), 16 x 16
Canvas MarkSheet();            // 128 x 480: mark n at ((n / 15) * 32, (n mod 15) * 32)
Canvas WindowPicture();        // 640 x 480: the inside of boxes (their top-left part is shown)
Canvas StatusWindowPicture();  // 640 x 20
Canvas TitlePicture();         // 640 x 480
Canvas GameModePicture();      // 192 x 224: title item i in the 32-pixel row at y = 32 i
Canvas AccessoryPicture();     // 128 x 208: cursors, status icons, world-map figure, gauges
Canvas SymbolPicture();        // 832 x 32: symbol for letter 'a' + k at (16 k, 0), 16 x 16
Canvas WordPicture();          // 320 x 192: banners and two rows of 32 x 32 digits
Canvas WorldMapChipSheet();    // 160 x 64: tile t at (32 (t mod 5), 32 (t / 5))
Canvas WorldEventSheet();      // 64 x 128: icon row r at y = 32 r, x 0 open, x 32 cleared
Canvas WorldBackPicture(int width, int height);
Canvas KnightSheet();          // 512 x 32: frame n at (32 n, 0)
Canvas SwordPicture(bool facingRight);  // 96 x 16: frame k at (32 k, 0)
Canvas BurstStrip();           // 128 x 32: cell c at (32 c, 0)
Canvas SignPicture();          // 160 x 64
Canvas SkyPicture();           // 320 x 240

}  // namespace demo
