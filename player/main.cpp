// The player: plays the project in the current folder. The command line,
// when given, names a stage file to start directly.
#include <string>

#include "app/start_up.h"
#include "platform/text.h"
#include "shell/run_settings.h"

int main(int argc, char** argv) {
  // The arguments joined: a path with blanks needs no quotes.
  std::string commandLine;
  for (int i = 1; i < argc; ++i) {
    if (i > 1) commandLine += ' ';
    commandLine += argv[i];
  }
  return WinMain(platform::Utf8ToCp932(commandLine), ShowWindowValue());
}
