#pragma once

#include <QByteArray>

#include <optional>

struct Invocation;

// A new password from the generator options (--length, --no-lower, --no-upper, --no-digits,
// --no-other), as `generate` and `add/edit --generate` read them: the length as the
// generator's field takes it (8 by default), every class unless switched off. Nothing, with
// status ExitUsage and the reason printed, when --length is no whole number.
std::optional<QByteArray> generatedPassword(const Invocation &invocation, int &status);
