// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Names keep their bytes, which need not be UTF-8 and may hold control characters. To be told
// apart on screen, every byte that is not part of a valid UTF-8 character is written as \xHH,
// and control characters as \n, \r, \t or \xHH; the result is valid UTF-8 on one line. A host
// name never holds a backslash (such names are not listed), so an escape cannot be mistaken for
// a name's own text.

#include <string>
#include <string_view>

namespace pictaria {

enum class LineBreaks { Escape, Keep };

std::string printableName(std::string_view bytes, LineBreaks lineBreaks = LineBreaks::Escape);

}  // namespace pictaria
