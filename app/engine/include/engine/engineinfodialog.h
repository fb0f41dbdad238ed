#pragma once

#include <QDialog>
#include <memory>

namespace context {
struct AppState;
struct EngineSession;
}  // namespace context

namespace engine {

// Dialog 3006: what the engine reports about the current language (version, language,
// country, coding scheme, number of speakers) and about itself (notice and manufacturer), in
// disabled fields. The engine is asked anew every time. OK ends it with 1; Cancel, Escape and
// the close box with 0.
std::unique_ptr<QDialog> makeEngineInfoDialog(const context::AppState& state,
                                              const context::EngineSession& session,
                                              QWidget* owner);

// Shows the dialog modally, owned by `owner`, and returns its result.
int aboutEngineDialog(const context::AppState& state, const context::EngineSession& session,
                      QWidget* owner);

}  // namespace engine
