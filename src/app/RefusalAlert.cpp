#include "app/RefusalAlert.h"

#include <memory>
#include <vector>

#include "ui/AlertView.h"
#include "ui/Exception.h"

namespace {

void showAlert(const std::string& title, const std::string& message) {
  auto alert = std::make_shared<ui::AlertView>(title, message, nullptr, "Okay", std::vector<std::string>{});
  try {
    alert->show();
  } catch (const ui::Exception&) {
    // No window to show it in: the screen going back to what is stored is
    // all there is to say.
  }
}

}  // namespace

void showRefusal(const Outcome& outcome) {
  if (outcome) showAlert("Not Written", outcome->reason);
}

void showError(const std::string& reason) { showAlert("Error", reason); }

void showNotice(const std::string& title, const std::string& message) { showAlert(title, message); }
