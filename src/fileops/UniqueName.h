// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Collision-free names for files arriving in a folder.

#include <functional>
#include <string>

namespace pictaria {

// The first name of the sequence candidate, stem+"2", stem+"23", stem+"234"... (digits keep
// accumulating on the name tried last) that names no existing file; a folder of that name does
// not count as taken. `counter` is the shared naming counter: it supplies the digits, grows
// with every taken name and is back at 2 when a free name is found. `alsoTaken` names further
// names that count as taken (names promised to files not yet in place).
std::string makeUniqueName(const std::string& candidate, int& counter,
                           const std::function<bool(const std::string&)>& alsoTaken = {});

}  // namespace pictaria
