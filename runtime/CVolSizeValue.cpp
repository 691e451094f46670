#include "runtime/CVolSizeValue.h"

namespace vol {

template class CVolIntPairValue<CVolSizeValue>;

}  // namespace vol
