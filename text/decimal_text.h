// Integers written without Format's parsing of a template, for texts made
// once per imported record.
#pragma once

#include <string>

namespace pw {

// Appends value as "%0*d" writes it with this width (0: "%d").
void AppendDecimal(std::u16string& out, long long value, int width = 0);

}  // namespace pw
