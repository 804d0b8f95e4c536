#include "base/checked_access.h"

#include <string>

#include "base/close_request.h"
#include "base/format.h"
#include "base/report.h"

void ReportBadIndex(const char* kind, int index, std::size_t count, std::size_t elementSize) {
  std::string message;
  FormatString(message, "err %s[%d] ( %d , %d )", kind, index, static_cast<int>(count),
               static_cast<int>(elementSize));
  ErrorLog(message.c_str());
  ReportF("%s", message.c_str());
  RequestMainWindowCloseForError();
}
