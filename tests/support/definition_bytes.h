// Appends conditions, key conditions, commands and flows in their stored
// layout of data version 110 and later, written byte by byte for fixtures of
// the records that hold them.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "support/byte_builder.h"

// A variable condition (kinds 1 to 3): variable index, operator and value.
inline ByteBuilder& AppendCondition(ByteBuilder& b, std::int8_t kind, std::int16_t varIndex,
                                    std::int32_t value, std::int8_t op = 0) {
  b.U32(17).I8(kind).I32(value).I32(0).I32(0).I8(0).I8(0).I8(0).I8(0).I16(varIndex);
  return b.I8(0).I8(0).I8(0).I8(0).I16(0).I8(op).I8(0).I8(0).U32(0);
}

// A key condition requiring one key (0 to 18) pressed.
inline ByteBuilder& AppendKeyCondition(ByteBuilder& b, int pressedKey) {
  b.U32(5).U8(0).I16(0).I16(0).U8(1).U8(0).U32(0).U32(19);
  for (int key = 0; key < 19; ++key) b.U8(key == pressedKey ? 1 : 0);
  return b;
}

// A command without movement, shot or flows.
inline ByteBuilder& AppendCommand(ByteBuilder& b, std::uint8_t set, std::uint8_t kind,
                                  const std::vector<std::int32_t>& params, std::string_view text = "") {
  b.U32(8).U8(set).U8(kind).I16(0).I16(0).U8(0).I16(0).U8(1).I16(0);
  b.U32(1).Str(text).U32(0).U32(0).U32(0);
  b.U32(static_cast<std::uint32_t>(params.size()));
  for (std::int32_t p : params) b.I32(p);
  return b;
}

struct FlowFields {
  std::uint8_t id = 0, group = 0, testOnly = 0, conditionMode = 0, conditionOnce = 0, trigger = 0,
               keyTolerance = 3, keyRepeat = 0;
};

// A flow's fields; its three lists follow, each a count and its elements.
inline ByteBuilder& AppendFlowFields(ByteBuilder& b, const FlowFields& f) {
  b.U32(8).U8(f.id).U8(f.group).U8(f.testOnly).U8(f.conditionMode).U8(f.conditionOnce).U8(f.trigger);
  return b.U8(f.keyTolerance).U8(f.keyRepeat).U32(0);
}
