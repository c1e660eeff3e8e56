#include "Tarnbook/TBKException.h"

TBKException::TBKException(std::string name, std::string reason) : name_(std::move(name)), reason_(std::move(reason)) {}
