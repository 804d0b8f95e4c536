#include "model/record/play_flags.h"

int g_bTestPlay = 0;
