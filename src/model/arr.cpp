#include "model/arr.h"

namespace kaldo {

#ifdef KALDO_CHECKED
void indexFault(const std::source_location& where, long index, long lo, long hi) {
    throw IndexFault("index " + std::to_string(index) + " outside " + std::to_string(lo) + ".." +
                     std::to_string(hi) + " at " + where.file_name() + ":" + std::to_string(where.line()));
}
#endif

}  // namespace kaldo
