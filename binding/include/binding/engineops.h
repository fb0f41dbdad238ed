#pragma once

#include <saymgr.h>

namespace binding {

// The engine's operation table: one typed entry per operation, named as the engine names it.
// The program and voxtrial-cli call the engine only through a table like this one, so a test
// can hand them a table of its own.
struct EngineOps {
// The name is a declarator here, where parentheses would not parse.
#define VOXTRIAL_ENGINE_ENTRY(name) decltype(&::name) name;  // NOLINT(bugprone-macro-parentheses)
    SAYMGR_OPERATIONS(VOXTRIAL_ENGINE_ENTRY)
#undef VOXTRIAL_ENGINE_ENTRY
};

// Calls visit(entry, name) for every entry of `ops` (an EngineOps, const or not) with the
// operation's exported name.
template <typename Ops, typename Visitor>
void forEachOperation(Ops& ops, Visitor&& visit) {
#define VOXTRIAL_VISIT_ENTRY(name) visit(ops.name, #name);
    SAYMGR_OPERATIONS(VOXTRIAL_VISIT_ENTRY)
#undef VOXTRIAL_VISIT_ENTRY
}

// A table whose every operation answers SAYMGR_EENGINE_LOADING (-30).
const EngineOps& unavailableEngineOps();

}  // namespace binding
