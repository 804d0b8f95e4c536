// The program's entry, start-up and shut-down.
//
// WinMain runs on the main thread: it opens the report, refuses a second
// instance, creates the main window, brings every part of the program up
// with InitGame, starts the game thread, serves the window until it is
// closed, then takes everything down with UnInitGame. InitGame keeps one
// fixed order because later steps read what earlier ones loaded: the
// project data decides the fonts, the sounds and the System.ini defaults,
// the screen mode decides the graphics start-up, the options decide music
// and volume. A failed step ends start-up; UnInitGame then releases what
// was started, and accepts every part that never started, so it may run
// after any step and more than once.
//
// How the run is set up (a window or headless, the clock, scripts, dumps)
// comes from the environment (shell/run_settings.h). The command line is
// a stage file to start directly; an editor starting a test play passes the
// show-window value 5 in PLAYER_SHOW_WINDOW.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>

struct SYSTEMINIDATA;

// Set once InitGame succeeded: the window repaints frames only from then on.
extern std::atomic<std::uint8_t> g_bGameStarted;
// The effective window flag (1 windowed, 0 full screen).
extern int g_bWindowed;

constexpr int SW_SHOW_TEST_PLAY = 5;  // the show-window value of the editor's test play

// The exit code: 1 after a fatal error (a failed start-up step, a close
// for an error while the game ran), else 0 (a normal quit, the launcher
// cancelled, a second instance refused).
int WinMain(const std::string& commandLine, int showWindow);
// Where start-up came to: the game runs, the player cancelled the launcher,
// or a step failed.
enum class StartUp { Runs, Cancelled, Failed };
StartUp InitGame(const std::string& commandLine, int showWindow);
void UnInitGame();

// The palette and the transparent colour, from the palette picture (image 0)
// or, in full colour above 16 bits, from the project settings; at 16 bits a
// full-colour project keeps the settings' colour as the key that pictures
// are loaded with. False (reported) when the picture cannot be read.
bool LoadPaletteAndTransparentColour();

// The stage file a direct start plays: the newest numbered version of
// `name` ("name_NNN" beside it with the stage extension) when one exists,
// else name itself; empty when no such file exists.
std::string ChooseDirectStartStage(const std::string& name);
