#include "app/RefusalAlert.h"

#include <memory>
#include <string>
#include <vector>

#include "ui/AlertView.h"
#include "ui/Exception.h"

void showRefusal(const Outcome& outcome) {
  if (!outcome) return;
  auto alert =
      std::make_shared<ui::AlertView>("Not Written", outcome->reason, nullptr, "Okay", std::vector<std::string>{});
  try {
    alert->show();
  } catch (const ui::Exception&) {
    // No window to show it in: the screen going back to what is stored is
    // all there is to say.
  }
}
