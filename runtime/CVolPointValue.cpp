#include "runtime/CVolPointValue.h"

namespace vol {

template class CVolIntPairValue<CVolPointValue>;

}  // namespace vol
