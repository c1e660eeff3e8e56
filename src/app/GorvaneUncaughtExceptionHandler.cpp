#include "app/GorvaneUncaughtExceptionHandler.h"

#include "ui/Log.h"

void GorvaneUncaughtExceptionHandler(const ui::Exception& exception) {
  ui::log("Gorvane crashed with exception: %@", exception);
}
