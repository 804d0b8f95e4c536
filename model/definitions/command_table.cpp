#include "model/definitions/command.h"
#include "model/definitions/item_command.h"

const std::array<cEdCommandInfo, FLOW_COMMAND_COUNT> g_FlowCommandInfo = {{
    {"", 0},
    {"ウエイト", 0},
    {"直線移動", 0},
    {"地上折り返し移動", 0},
    {"円移動", 0},
    {"突撃移動", 0},
    {"誘導移動", 0},
    {"画面外回避移動", 0},
    {"移動の無効化", 0},
    {"向き変更", 1},
    {"ジャンプ", 5},
    {"ショット", 0},
    {"ソード", 0},
    {"ブロック召喚", 0},
    {"キャラ召喚", 0},
    {"アイテム召喚", 0},
    {"フローの操作", 3},
    {"ステージクリア", 5},
    {"ゲームウエイト", 1},
    {"メッセージ", 17},
    {"ワープ", 0},
    {"ターゲットの設定", 10},
    {"ステータスの操作", 18},
    {"ステータスの操作2", 3},
    {"アイテムの取得", 2},
    {"グラフィックの変更", 3},
    {"基本アニメセットの変更", 1},
    {"アニメの実行", 1},
    {"エフェクトの実行", 8},
    {"キャラエフェクトの実行", 3},
    {"画面エフェクトの実行", 3},
    {"ピクチャーの表示", 14},
    {"画面の色を変更", 8},
    {"背景の変更", 2},
    {"効果音の再生", 1},
    {"BGMの再生", 2},
    {"コードの実行", 0},
}};

int CommandParamCount(int nSet, int nKind) {
  // A kind outside its table never occurs in data this system writes; such
  // a command keeps no parameters rather than reading past the table.
  if (nKind < 0) return 0;
  const auto index = static_cast<std::size_t>(nKind);
  if (nSet == COMMAND_SET_FLOW) return index < g_FlowCommandInfo.size() ? g_FlowCommandInfo[index].m_nParamCount : 0;
  return index < g_ItemCommandInfo.size() ? g_ItemCommandInfo[index].m_nParamCount : 0;
}
