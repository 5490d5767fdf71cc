#include "platform/RunKeyStore.h"

namespace wv {

// Out of line, so the class's type information lives in one object file.
RunKeyStore::~RunKeyStore() = default;

} // namespace wv
