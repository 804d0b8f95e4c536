// What the validation of definitions knows about the lists they refer to.
//
// Commands, shots and their owners repair references into the database lists
// and the palettes against the sizes given here, and loaders ask it whether
// test-only flows stay. Start-up installs a context over the loaded database,
// the common palette, the stage being played and the settings; until then the
// default context knows no list (nullopt), references are kept as they are,
// and test-only flows are removed unless g_bTestPlay is set.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

enum class eDatabaseList {
  Anime,
  AnimeSet,
  CharaImage,
  SwordType,
  Effect,
  CharaEffect,
  ScrEffect,
  Picture,
  Sound,
  Bgm,
};

// Source 1 of a palette reference is the common palette, source 2 the stage's.
enum class ePaletteSource { Common, Stage };
enum class ePaletteList { Block, Chara, Item };

class cDefinitionContext {
 public:
  virtual ~cDefinitionContext() = default;
  // Entries in a database list, or nullopt while it is not known.
  virtual std::optional<std::size_t> DatabaseListSize(eDatabaseList /*list*/) const { return std::nullopt; }
  // The durations of the frames of a sword type; empty when there is no such type.
  virtual std::vector<std::int32_t> SwordFrameDurations(std::size_t /*swordType*/) const { return {}; }
  // Entries in a palette list, or nullopt while that palette is not known.
  virtual std::optional<std::size_t> PaletteListSize(ePaletteSource /*source*/, ePaletteList /*list*/) const {
    return std::nullopt;
  }
  // The settings option that keeps test-only flows outside a test play.
  virtual bool KeepTestFlows() const { return false; }
};

const cDefinitionContext& DefinitionContext();
// Installs a context (not owned); null restores the default.
void SetDefinitionContext(const cDefinitionContext* context);

// True when index does not name an entry of a list of the known size; a
// negative index counts as too large. An unknown size rejects nothing.
bool IndexOutOfRange(std::int64_t index, std::optional<std::size_t> size);
// The same for a reference into a database list of the installed context.
// A reference of 0 is never out of range here: every repair leaves 0 as it
// is (it resets to 0, or to 1 only where entry 1 exists), so most
// references are checked without asking the context.
bool DatabaseIndexOutOfRange(std::int64_t index, eDatabaseList list);
