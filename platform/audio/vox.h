// The Ogg player library as the music manager uses it: a module that
// exports CreateVox, and the player objects it makes, each with the six
// operations Load, Play, Stop, Unload, SetLoop and Delete.
//
// The library is linked in: LoadLibraryA("Vox.dll") always succeeds and its
// CreateVox makes an Ogg Vorbis player that decodes with libvorbisfile into
// the mixer's music. A test may put its own factory in place.
#pragma once

namespace platform {

class IVox {
 public:
  // Reads and opens an Ogg Vorbis file (a program path); nonzero on success.
  virtual int Load(const char* path) = 0;
  virtual void Play() = 0;
  // Stops and rewinds.
  virtual void Stop() = 0;
  virtual void Unload() = 0;
  // Further plays after the first: kVoxLoopEndless for endless play, 0 once.
  virtual void SetLoop(int count) = 0;
  // Destroys the player.
  virtual void Delete() = 0;

 protected:
  virtual ~IVox() = default;
};

constexpr int kVoxLoopEndless = 2147483647;

using CreateVoxFunction = IVox* (*)();

struct VoxModule;
using HMODULE = VoxModule*;

// Only "Vox.dll" and "CreateVox" are known; anything else gives null.
HMODULE LoadLibraryA(const char* name);
CreateVoxFunction GetProcAddress(HMODULE module, const char* name);
int FreeLibrary(HMODULE module);

// The factory GetProcAddress hands out from now on; nullptr makes the
// export missing. RestoreVoxFactory puts back the Ogg player.
void SetVoxFactoryForTests(CreateVoxFunction factory);
void RestoreVoxFactory();

}  // namespace platform
