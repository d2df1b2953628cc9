// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Which mount holds a folder now. Each mount of a volume is another mount: a card taken out and
// put back, or another card of the same name in the same reader, does not hold what the first
// mount held.

#include <cstdint>
#include <string_view>

namespace pictaria {

// The kernel's identity of the mount that holds the folder of `pathText`, never given to
// another mount while the system runs (on kernels older than 6.8, whose identities are used
// again, a mount made right after another was unmounted may get its number); 0 when the folder
// cannot be asked.
std::uint64_t mountIdentityOf(std::string_view pathText);

}  // namespace pictaria
