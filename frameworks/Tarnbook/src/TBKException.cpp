#include "Tarnbook/TBKException.h"

TBKException::TBKException(Kind kind, std::string reason) : kind_(kind), reason_(std::move(reason)) {}

const char* TBKException::name() const {
  switch (kind_) {
    case Kind::Setup:
      return "TBKSetupException";
    case Kind::Format:
      return "TBKFormatException";
    case Kind::File:
      return "TBKFileException";
    case Kind::Lock:
      return "TBKLockException";
    case Kind::WorldBusy:
      return "TBKWorldBusyException";
    case Kind::Usage:
      break;
  }
  return "TBKUsageException";
}
