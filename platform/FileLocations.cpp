#include "platform/FileLocations.h"

namespace wv {

// Out of line, so the class's type information lives in one object file.
FileLocations::~FileLocations() = default;

} // namespace wv
