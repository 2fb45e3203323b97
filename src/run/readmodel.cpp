// Reading of the piles, sections, soils, curves and requests.
#include "run/readin.h"

namespace kaldo {

void readModelSections(InputFile&) {}

}  // namespace kaldo
