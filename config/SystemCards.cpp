#include "config/Cards.h"

namespace tarnwick {

#ifdef __EMSCRIPTEN__
namespace {
// A browser's file system is the program's own: no card is ever mounted in it.
class NoCards : public CardFinder {
 public:
  std::vector<Card> cards() override { return {}; }
};
}  // namespace
#endif

CardFinder& systemCardFinder() {
#ifdef __EMSCRIPTEN__
  static NoCards none;
  return none;
#else
  static MountedCards mounted("/");
  return mounted;
#endif
}

}  // namespace tarnwick
