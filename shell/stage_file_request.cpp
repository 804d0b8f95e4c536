#include "shell/stage_file_request.h"

#include "shell/dialog_mode.h"
#include "shell/file_dialogs.h"

int ChooseStageFile(std::string& path) {
  const std::string filter = std::string("StageFile ( *.stg4_*;*.rpl4_* )") + '\0' + "*.stg4_*;*.rpl4_*" + '\0';
  return RunInDialogMode([&] {
    return OpenFileDialog(path, "data\\stg4\\", "ステージファイルの選択", filter.c_str(), "stg4_*;rpl4_*");
  });
}
