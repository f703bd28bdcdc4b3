#include "map/hit_test.h"

namespace navmap {

std::optional<EntryRef> HitTest(const DrawnMap& drawn, int x, int y) {
  const DrawnSymbol* best = nullptr;
  long bestDistanceSq = 0;
  for (const DrawnSymbol& symbol : drawn.symbols) {
    const long dx = x - symbol.at.x;
    const long dy = y - symbol.at.y;
    const long distanceSq = dx * dx + dy * dy;
    if (distanceSq > static_cast<long>(symbol.reachPx) * symbol.reachPx) continue;
    if (best == nullptr || distanceSq < bestDistanceSq ||
        (distanceSq == bestDistanceSq && symbol.priority >= best->priority)) {
      best = &symbol;
      bestDistanceSq = distanceSq;
    }
  }
  if (best == nullptr) return std::nullopt;
  return best->entry;
}

}  // namespace navmap
