// The definition context of a loaded project: what the validation of
// definitions knows once start-up has read the database and the settings.
//
// Database list sizes and the frames of sword types come from a database,
// the option that keeps test-only flows from the settings, and palette list
// sizes from the installed palette lists (PaletteLists(): the common palette
// and the stage palette of the palette scope in force). The context reads
// its sources at every question, so it follows them as they are loaded; it
// owns nothing and must not outlive them.
#pragma once

#include "model/database/database.h"
#include "model/definitions/definition_context.h"
#include "model/settings/system_data.h"

class cProjectContext : public cDefinitionContext {
 public:
  // Over g_Database and g_SystemData.
  cProjectContext();
  cProjectContext(const cDatabase& database, const cSystemData& settings);

  std::optional<std::size_t> DatabaseListSize(eDatabaseList list) const override;
  std::vector<std::int32_t> SwordFrameDurations(std::size_t swordType) const override;
  std::optional<std::size_t> PaletteListSize(ePaletteSource source, ePaletteList list) const override;
  bool KeepTestFlows() const override;

 private:
  const cDatabase& m_Database;
  const cSystemData& m_Settings;
};
