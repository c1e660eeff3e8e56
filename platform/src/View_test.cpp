#include "ui/View.h"

#include <gtest/gtest.h>

namespace ui {
namespace {

std::vector<long> tags(const View& v) {
  std::vector<long> out;
  for (auto& s : v.subviews()) out.push_back(s->tag());
  return out;
}

std::shared_ptr<View> tagged(long tag, Rect frame = {}) {
  auto v = std::make_shared<View>(frame);
  v->setTag(tag);
  return v;
}

TEST(ViewHierarchy, InsertsAndRemovalsKeepThePhoneToolkitsOrder) {
  auto root = std::make_shared<View>();
  auto a = tagged(1), b = tagged(2), c = tagged(3), d = tagged(4);
  root->addSubview(a);
  root->addSubview(b);
  root->insertSubview(c, 0);
  EXPECT_EQ(tags(*root), (std::vector<long>{3, 1, 2}));
  root->insertSubviewAbove(d, c);
  EXPECT_EQ(tags(*root), (std::vector<long>{3, 4, 1, 2}));
  // Moving a view that is already a child, upwards and downwards.
  root->insertSubviewAbove(c, b);
  EXPECT_EQ(tags(*root), (std::vector<long>{4, 1, 2, 3}));
  root->insertSubviewBelow(c, a);
  EXPECT_EQ(tags(*root), (std::vector<long>{4, 3, 1, 2}));
  root->insertSubview(a, 99);  // clamps to the end
  EXPECT_EQ(tags(*root), (std::vector<long>{4, 3, 2, 1}));
  b->removeFromSuperview();
  EXPECT_EQ(tags(*root), (std::vector<long>{4, 3, 1}));
  EXPECT_EQ(b->superview(), nullptr);
  // Adding to another parent takes it out of the first.
  auto other = std::make_shared<View>();
  other->addSubview(d);
  EXPECT_EQ(tags(*root), (std::vector<long>{3, 1}));
  EXPECT_EQ(d->superview(), other);
}

TEST(ViewHierarchy, RemovingTheLastReferenceInsideRemovalIsSafe) {
  auto root = std::make_shared<View>();
  std::weak_ptr<View> weak;
  {
    auto child = std::make_shared<View>();
    weak = child;
    root->addSubview(child);
  }
  weak.lock()->removeFromSuperview();
  EXPECT_TRUE(weak.expired());
  EXPECT_TRUE(root->subviews().empty());
}

TEST(ViewHitTesting, SkipsHiddenTransparentAndNonInteractiveViews) {
  auto root = tagged(0, Rect(0, 0, 200, 200));
  auto back = tagged(1, Rect(0, 0, 200, 200));
  auto front = tagged(2, Rect(50, 50, 100, 100));
  auto inner = tagged(3, Rect(10, 10, 20, 20));
  root->addSubview(back);
  root->addSubview(front);
  front->addSubview(inner);

  struct Case {
    const char* what;
    Point at;
    bool frontHidden, frontInteractive;
    double frontOpacity;
    long expected;
  };
  const Case cases[] = {
      {"front-most wins", {70, 70}, false, true, 1, 3},
      {"outside the inner view", {100, 100}, false, true, 1, 2},
      {"outside the front view", {10, 10}, false, true, 1, 1},
      {"hidden front view", {70, 70}, true, true, 1, 1},
      {"non-interactive front view passes through", {70, 70}, false, false, 1, 1},
      {"transparent front view passes through", {70, 70}, false, true, 0, 1},
  };
  for (const Case& c : cases) {
    front->setHidden(c.frontHidden);
    front->setUserInteractionEnabled(c.frontInteractive);
    front->setOpacity(c.frontOpacity);
    auto hit = root->hitTest(c.at);
    ASSERT_NE(hit, nullptr) << c.what;
    EXPECT_EQ(hit->tag(), c.expected) << c.what;
  }
  EXPECT_EQ(root->hitTest(Point{250, 10}), nullptr);
}

TEST(ViewHitTesting, FollowsTheBoundsOriginOfAScrolledParent) {
  auto root = tagged(0, Rect(0, 0, 100, 100));
  auto content = tagged(1, Rect(0, 0, 100, 100));
  auto row = tagged(2, Rect(0, 200, 100, 40));
  root->addSubview(content);
  content->addSubview(row);
  content->setBounds(Rect(0, 180, 100, 100));  // scrolled down by 180
  EXPECT_EQ(root->hitTest(Point{50, 30})->tag(), 2);
  EXPECT_EQ(row->convertToWindow(Point{0, 0}), (Point{0, 20}));
}

// Cells and widgets build their subviews in their constructors, before any
// shared_ptr owns them.
class Composite : public View {
 public:
  Composite() : View(Rect(0, 0, 100, 100)), child(std::make_shared<View>(Rect(10, 10, 20, 20))) { addSubview(child); }
  bool scrollWheel(double, double dy) override {
    wheeled += dy;
    return true;
  }
  std::shared_ptr<View> child;
  double wheeled = 0;
};

TEST(ViewHierarchy, SubviewsAddedInAConstructorKnowTheirParent) {
  auto parent = std::make_shared<Composite>();
  EXPECT_EQ(parent->child->superview(), parent);
  EXPECT_TRUE(parent->child->isDescendantOf(*parent));
  parent->child->scrollWheel(0, 5);  // events bubble up to it
  EXPECT_EQ(parent->wheeled, 5);
  auto child = parent->child;
  parent.reset();  // the parent goes while someone still holds the child
  EXPECT_EQ(child->superview(), nullptr);
  EXPECT_EQ(child->convertToWindow(Point{1, 2}), (Point{1, 2}));
}

}  // namespace
}  // namespace ui
