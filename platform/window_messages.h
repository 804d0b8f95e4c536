// Windows and their messages, as SendMessage and PostMessage offer them.
//
// A window is a handle with a window procedure, and it lives on the main
// thread (platform/main_thread.h): its procedure only ever runs there.
// SendMessage from the main thread calls the procedure at once; from any
// other thread it is a task for the main thread, and the sender waits for
// the procedure's result (0 once the main thread has stopped serving, or
// when the window is gone by the time the task runs). PostMessage queues the
// call without waiting. A null or destroyed handle takes no message:
// SendMessage answers 0, PostMessage false.
#pragma once

#include <functional>

#include "platform/thread_messages.h"

namespace platform {

struct WindowHandle;
using HWND = WindowHandle*;
using WindowProcedure = std::function<LRESULT(HWND, UINT, WPARAM, LPARAM)>;

constexpr UINT WM_CREATE = 0x0001;
constexpr UINT WM_DESTROY = 0x0002;
constexpr UINT WM_MOVE = 0x0003;
constexpr UINT WM_SIZE = 0x0005;
constexpr UINT WM_PAINT = 0x000F;
constexpr UINT WM_CLOSE = 0x0010;
constexpr UINT WM_QUERYNEWPALETTE = 0x030F;
constexpr UINT WM_PALETTECHANGED = 0x0311;
constexpr UINT WM_ACTIVATEAPP = 0x001C;
constexpr UINT WM_GETMINMAXINFO = 0x0024;
constexpr UINT WM_COPYDATA = 0x004A;
constexpr UINT WM_KEYDOWN = 0x0100;
constexpr UINT WM_KEYUP = 0x0101;
constexpr UINT WM_COMMAND = 0x0111;
constexpr UINT WM_MOUSEMOVE = 0x0200;
constexpr UINT WM_LBUTTONDOWN = 0x0201;
constexpr UINT WM_RBUTTONDOWN = 0x0204;

HWND CreateWindowHandle(WindowProcedure procedure);
// Later messages to the handle are dropped.
void DestroyWindowHandle(HWND window);
bool IsWindow(HWND window);

LRESULT SendMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
bool PostMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// What a window procedure answers for a message it does not handle.
LRESULT DefWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// Posts WM_QUIT with the exit code to the calling thread's own queue.
void PostQuitMessage(int exitCode);

}  // namespace platform
