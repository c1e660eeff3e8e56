#include "Tarnbook/TBKException.h"

TBKException::TBKException(std::string name, std::string reason)
    : _name(std::move(name)), _reason(std::move(reason)) {}
