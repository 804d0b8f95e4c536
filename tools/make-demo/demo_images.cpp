#include "tools/make-demo/demo_images.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <system_error>

#include "base/format.h"
#include "platform/files.h"
#include "tools/make-demo/bmp_writer.h"
#include "tools/make-demo/demo_palette.h"
#include "tools/make-demo/demo_sheets.h"
#include "tools/make-demo/demo_world_map.h"

namespace demo {

std::vector<DemoFile> BuildDemoFiles() {
  const Palette& palette = DemoPalette();
  std::vector<DemoFile> files;
  const auto picture = [&](std::string name, const Canvas& c) {
    files.push_back({std::move(name), EncodeBmp8(c.Width(), c.Height(), palette, c.Pixels())});
  };
  picture("bmp\\plt\\Palette.bmp", PalettePicture());
  for (int variant = 0; variant < kPaletteVariantCount; ++variant) {
    std::string name;
    FormatString(name, "bmp\\hbt\\hbt%02d.dat", variant);
    files.push_back({name, BuildBlendTable(PaletteVariant(palette, variant))});
  }
  picture("bmp\\Debug.bmp", DebugPicture());
  picture("bmp\\Block.bmp", BlockSheet());
  picture("bmp\\Character1.bmp", CharacterSheet());
  picture("bmp\\Shot.bmp", ShotSheet());
  picture("bmp\\Item.bmp", ItemSheet());
  picture("bmp\\Item_Mini.bmp", ItemMiniSheet());
  picture("bmp\\Mark.bmp", MarkSheet());
  picture("bmp\\Window.bmp", WindowPicture());
  picture("bmp\\StatusWindow.bmp", StatusWindowPicture());
  picture("bmp\\Title.bmp", TitlePicture());
  picture("bmp\\GameMode.bmp", GameModePicture());
  picture("bmp\\Accessory.bmp", AccessoryPicture());
  picture("bmp\\Symbol.bmp", SymbolPicture());
  picture("bmp\\Word.bmp", WordPicture());
  picture("bmp\\WorldMapChip.bmp", WorldMapChipSheet());
  picture("bmp\\WorldEvent.bmp", WorldEventSheet());
  picture(kWorldBackImage, WorldBackPicture(32 * kWorldMapWidth, 32 * kWorldMapHeight));
  picture(kCharaExcImage, KnightSheet());
  picture(kSwordImageLeft, SwordPicture(false));
  picture(kSwordImageRight, SwordPicture(true));
  picture(kEffectImage, BurstStrip());
  picture(kPictureImage, SignPicture());
  picture(kBackgroundImage, SkyPicture());
  return files;
}

bool WriteDemoImages(const std::filesystem::path& projectRoot, std::string& error) {
  for (const DemoFile& file : BuildDemoFiles()) {
    std::string relative = file.name;
    std::replace(relative.begin(), relative.end(), '\\', '/');
    const std::filesystem::path path = projectRoot / relative;
    std::error_code failure;
    std::filesystem::create_directories(path.parent_path(), failure);
    if (failure) {
      error = std::filesystem::path(relative).parent_path().string() + ": cannot be created: " + failure.message();
      return false;
    }
    errno = 0;
    if (!platform::WriteFileAtomic(path, file.bytes)) {
      error = relative + ": cannot be written";
      if (errno != 0) error += std::string(": ") + std::strerror(errno);
      return false;
    }
  }
  return true;
}

}  // namespace demo
