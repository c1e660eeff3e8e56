#include "records/Refusal.h"

#include "Tarnbook/TBKException.h"

Outcome attempt(const std::function<void()>& write) {
  try {
    write();
  } catch (const TBKException& error) {
    return Refusal{error.reason()};
  }
  return std::nullopt;
}
