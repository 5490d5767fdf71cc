#include "base/Clock.h"

namespace wv {
QDateTime SystemClock::now() const {
    return QDateTime::currentDateTime();
}
} // namespace wv
