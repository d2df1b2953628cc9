#pragma once
// Sorting names as the user reads them.

#include <string>
#include <vector>

namespace pictaria {

// Sorts names case-insensitively in the user's locale; names that are not valid UTF-8 sort by
// their lossy text. Equal names keep their order.
void sortNamesIgnoringCase(std::vector<std::string>& names);

}  // namespace pictaria
