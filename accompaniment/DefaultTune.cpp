#include "accompaniment/DefaultTune.h"

namespace accompaniment {

void openDefaultAccompaniment(std::string_view) {}
void closeAccompaniment() {}

} // namespace accompaniment
