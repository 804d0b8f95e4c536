// A flow-command executor for tests of the flow engine: while a
// FlowCommandRecorder lives, the table slots it was given record, in Trace,
// one letter per frame run: 'A' for the first command of its flow, 'B' for
// the second, and so on.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "game/commands/flow_command_table.h"
#include "game/flows/flow_instance.h"
#include "game/stage/stage_play.h"

class FlowCommandRecorder {
 public:
  explicit FlowCommandRecorder(std::vector<int> kinds) {
    for (int kind : kinds) {
      m_vSaved.emplace_back(kind, g_FlowCommandTable[static_cast<std::size_t>(kind)]);
      g_FlowCommandTable[static_cast<std::size_t>(kind)] = Record;
    }
    Trace().clear();
  }
  ~FlowCommandRecorder() {
    for (const auto& [kind, executor] : m_vSaved) g_FlowCommandTable[static_cast<std::size_t>(kind)] = executor;
  }
  FlowCommandRecorder(const FlowCommandRecorder&) = delete;
  FlowCommandRecorder& operator=(const FlowCommandRecorder&) = delete;

  static std::string& Trace() {
    static std::string trace;
    return trace;
  }
  // The trace so far, emptied.
  static std::string Take() { return std::exchange(Trace(), std::string()); }

 private:
  static void Record(cActor*, cCommandInstance& command) {
    const cFlowInstance& flow = *g_pStageScene->m_pCurFlow;
    Trace() += static_cast<char>('A' + (&command - flow.m_vCommands.data()));
  }

  std::vector<std::pair<int, tFlowCommandExecutor>> m_vSaved;
};
