#include "score/ScoreLoading.h"

namespace score {

void onLoadScoreClicked() {}

} // namespace score
