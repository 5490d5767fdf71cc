#include "platform/InstanceLock.h"

namespace wv {

InstanceLock::~InstanceLock() = default;

} // namespace wv
