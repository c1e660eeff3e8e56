#include "equipment/ArmorViewController.h"

ArmorViewController::ArmorViewController(const std::shared_ptr<TBKLevelDB>&) {}
