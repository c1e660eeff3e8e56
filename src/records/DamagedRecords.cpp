#include "records/DamagedRecords.h"

void DamagedRecords::add(std::string reason) {
  if (reasons.size() < maximumReasons) reasons.push_back(std::move(reason));
  ++count;
}

void DamagedRecords::addAll(const std::vector<std::string>& more, size_t notTold) {
  for (const auto& reason : more) add(reason);
  count += notTold;
}

std::string DamagedRecords::told(const std::string& opening) const {
  std::string text = opening;
  for (const auto& reason : reasons) text += " " + reason;
  if (count > reasons.size()) text += " And " + std::to_string(count - reasons.size()) + " more.";
  return text;
}
