#include "config/Cards.h"

namespace tarnwick {

namespace {
CardFinder* active = nullptr;
}  // namespace

CardFinder& cardFinder() { return active != nullptr ? *active : systemCardFinder(); }

void setCardFinder(CardFinder* finder) { active = finder; }

std::optional<Card> onlyCard() {
  std::vector<Card> found = cardFinder().cards();
  if (found.size() != 1) return std::nullopt;
  return std::move(found.front());
}

}  // namespace tarnwick
