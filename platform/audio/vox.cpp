#include "platform/audio/vox.h"

#include <atomic>
#include <cstring>

#include "platform/audio/ogg_player.h"

namespace platform {

struct VoxModule {};

namespace {

VoxModule g_VoxModule;
std::atomic<CreateVoxFunction> g_Factory{CreateOggPlayer};

}  // namespace

HMODULE LoadLibraryA(const char* name) {
  return name && strcasecmp(name, "Vox.dll") == 0 ? &g_VoxModule : nullptr;
}

CreateVoxFunction GetProcAddress(HMODULE module, const char* name) {
  if (module != &g_VoxModule || !name || std::strcmp(name, "CreateVox") != 0) return nullptr;
  return g_Factory.load();
}

int FreeLibrary(HMODULE module) { return module == &g_VoxModule ? 1 : 0; }

void SetVoxFactoryForTests(CreateVoxFunction factory) { g_Factory.store(factory); }
void RestoreVoxFactory() { g_Factory.store(CreateOggPlayer); }

}  // namespace platform
