#include "graphics/surface_file.h"

#include "graphics/device.h"

// Image files are not read yet: every file counts as unreadable, so that
// optional rows are skipped and mandatory rows stop the load with their box.
int DDCreateSurfaceFromFile(DDSURFACEDATA*, const char*, int, int, int, int, int, int, int, int, int) {
  return LOADIMAGE_ERR;
}
