// The result panel shown after a stage clear: the stage's totals of the
// kinds the stage and the play mode rank (running total, time left, clear
// time, HP left, SP left), one line each with the kind's name and value in
// a framed box of the text font, and a pointer at each kind whose total
// entered its ranking table.
#pragma once

#include <vector>

#include "graphics/surface_data.h"

// Kinds shown: those the loaded stage totals and, unless a stage file was
// started directly, the play mode ranks. Nothing is drawn when none is.
// anPosition holds the ranking position found per kind (-1: none); the
// pointer stands at the line of each shown kind that has one.
void DrawResultPanel(DDSURFACEDATA* lpSD, int x, int y, const std::vector<int>& anPosition);
