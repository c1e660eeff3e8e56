#include "ui/SearchDisplayController.h"

#include "ui/ScrollView.h"
#include "ui/SearchBar.h"
#include "ui/TableView.h"
#include "ui/TextField.h"
#include "ui/ViewController.h"

namespace ui {

SearchDisplayController::SearchDisplayController(std::shared_ptr<SearchBar> searchBar,
                                                 const std::shared_ptr<ViewController>& contentsController)
    : searchBar_(std::move(searchBar)), contents_(contentsController) {
  searchBar_->displayController_ = this;
  results_ = std::make_shared<TableView>(Rect(), TableViewStyle::Plain);
  dimming_ = std::make_shared<View>();
  dimming_->setBackgroundColor(Color::white(0, 0.4));
  // Raw `this`: the controller owns the dimming view and clears this when it goes.
  dimming_->setTapHandler([this] { setActive(false, true); });
}

SearchDisplayController::~SearchDisplayController() {
  if (searchBar_->displayController_ == this) searchBar_->displayController_ = nullptr;
  dimming_->setTapHandler(nullptr);
  dimming_->removeFromSuperview();
  results_->removeFromSuperview();
}

void SearchDisplayController::setSearchResultsDataSource(const std::shared_ptr<TableViewDataSource>& dataSource) {
  results_->setDataSource(dataSource);
}

void SearchDisplayController::setSearchResultsDelegate(const std::shared_ptr<TableViewDelegate>& delegate) {
  results_->setDelegate(delegate);
}

void SearchDisplayController::setActive(bool active, bool) {
  if (active == active_) return;
  active_ = active;
  auto contents = contents_.lock();
  auto scroller =
      contents && contents->isViewLoaded() ? std::dynamic_pointer_cast<ScrollView>(contents->view()) : nullptr;
  if (active) {
    if (scroller) {
      // Bring the bar into view, then hold the contents still under the cover.
      double barY = searchBar_->convertToWindow(Point{0, 0}).y - scroller->convertToWindow(Point{0, 0}).y;
      double clearTop = scroller->contentOffset().y + scroller->contentInset().top;
      if (searchBar_->isDescendantOf(*scroller) && barY < clearTop) {
        scroller->setContentOffset(Point{scroller->contentOffset().x, barY - scroller->contentInset().top});
      }
      contentsScrolled_ = scroller->isScrollEnabled();
      scroller->setScrollEnabled(false);
    }
    searchBar_->setShowsCancelButton(true);
    if (!searchBar_->textField()->isFirstResponder()) searchBar_->textField()->becomeFirstResponder();
  } else {
    if (scroller) scroller->setScrollEnabled(contentsScrolled_);
    searchBar_->setText("");
    searchBar_->textField()->resignFirstResponder();
    searchBar_->setShowsCancelButton(false);
  }
  updateCover();
}

void SearchDisplayController::searchTextChanged(const std::string& text) {
  if (!active_) setActive(true, true);
  auto delegate = delegate_.lock();
  if (!delegate || delegate->shouldReloadTableForSearchString(*this, text)) results_->reloadData();
  updateCover();
}

void SearchDisplayController::updateCover() {
  auto contents = contents_.lock();
  std::shared_ptr<View> host = contents && contents->isViewLoaded() ? contents->view() : nullptr;
  if (!active_ || !host) {
    dimming_->removeFromSuperview();
    results_->removeFromSuperview();
    return;
  }
  // Below the bar, down to the bottom of what the contents screen shows, in
  // the contents view's bounds coordinates.
  Rect b = host->bounds();
  double y = b.y();
  if (searchBar_->window() && searchBar_->window() == host->window()) {
    double barBottom = searchBar_->convertToWindow(Point{0, searchBar_->bounds().height()}).y;
    double top = host->convertToWindow(b.origin).y;
    y += std::max(0.0, barBottom - top);
  }
  Rect cover(b.x(), y, b.width(), std::max(0.0, b.maxY() - y));
  bool searching = !searchBar_->text().empty();
  std::shared_ptr<View> shown = searching ? std::static_pointer_cast<View>(results_) : dimming_;
  std::shared_ptr<View> other = searching ? dimming_ : std::static_pointer_cast<View>(results_);
  other->removeFromSuperview();
  shown->setFrame(cover);
  if (shown->superview() != host) {
    host->addSubview(shown);
  } else {
    host->bringSubviewToFront(shown);
  }
}

}  // namespace ui
