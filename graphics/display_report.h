// The display lines of the report, written after the graphics start-up:
// the mode and depth; with DirectDraw its video memory and refresh rate;
// with Direct3D the description of the (software) display device.
#pragma once

// 0 when a line could not be written.
int ReportDisplayInfo();
