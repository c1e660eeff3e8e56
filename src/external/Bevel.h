#pragma once

// The widget kit, as the system sees it: game-styled views, the game's
// pictures and the item catalogue.
#include "Bevel/BVLButton.h"
#include "Bevel/BVLEnchantments.h"
#include "Bevel/BVLImage.h"
#include "Bevel/BVLItemIDSource.h"
#include "Bevel/BVLItemView.h"
#include "Bevel/BVLLabel.h"
#include "Bevel/BVLPanorama.h"
#include "Bevel/BVLSegmentedControl.h"
#include "Bevel/BVLSlider.h"
#include "Bevel/BVLSwitch.h"
#include "Bevel/BVLTextField.h"
