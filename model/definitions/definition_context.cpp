#include "model/definitions/definition_context.h"

namespace {
const cDefinitionContext g_DefaultContext;
const cDefinitionContext* g_pContext = &g_DefaultContext;
}  // namespace

const cDefinitionContext& DefinitionContext() { return *g_pContext; }

void SetDefinitionContext(const cDefinitionContext* context) {
  g_pContext = context != nullptr ? context : &g_DefaultContext;
}

bool IndexOutOfRange(std::int64_t index, std::optional<std::size_t> size) {
  if (!size) return false;
  return index < 0 || static_cast<std::uint64_t>(index) >= *size;
}

bool DatabaseIndexOutOfRange(std::int64_t index, eDatabaseList list) {
  return index != 0 && IndexOutOfRange(index, DefinitionContext().DatabaseListSize(list));
}
