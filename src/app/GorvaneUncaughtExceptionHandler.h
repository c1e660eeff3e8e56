#pragma once

#include "ui/Exception.h"

// Logs the exception that nothing caught; the process then ends.
void GorvaneUncaughtExceptionHandler(const ui::Exception& exception);
