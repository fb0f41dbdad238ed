#pragma once

#include <QDialog>
#include <QString>
#include <cstdint>
#include <memory>

namespace context {
struct EngineSession;
}

namespace hooks {

// A rule length as the user typed it, read the way the C library reads a number: leading blanks,
// one optional sign, then digits up to the first other character; no digits give 0. Values
// beyond 32 bits stop at the nearest limit.
int32_t ruleLengthOf(const QString& text);

// Dialog 164, proposing 256 and 0 every time: OK sends both lengths to the engine (whatever it
// answers), Cancel and Escape send nothing; either way the result is 1.
std::unique_ptr<QDialog> makeAccelerationDialog(const context::EngineSession& session,
                                                QWidget* owner);

// Shows the dialog modally, owned by `owner`.
int setAccelerationRules(const context::EngineSession& session, QWidget* owner);

}  // namespace hooks
