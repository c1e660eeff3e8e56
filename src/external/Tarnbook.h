#pragma once

// The game data library, as the system sees it: paths, the game lock, worlds
// and their databases, and the tag trees of level and player data.
#include "Tarnbook/TBKBackup.h"
#include "Tarnbook/TBKByteArrayTag.h"
#include "Tarnbook/TBKCompoundTag.h"
#include "Tarnbook/TBKException.h"
#include "Tarnbook/TBKFileSource.h"
#include "Tarnbook/TBKGameFile.h"
#include "Tarnbook/TBKIntArrayTag.h"
#include "Tarnbook/TBKLevelDB.h"
#include "Tarnbook/TBKListTag.h"
#include "Tarnbook/TBKLongArrayTag.h"
#include "Tarnbook/TBKMapShading.h"
#include "Tarnbook/TBKNumber.h"
#include "Tarnbook/TBKNumberTag.h"
#include "Tarnbook/TBKStringTag.h"
#include "Tarnbook/TBKStructures.h"
#include "Tarnbook/TBKTag.h"
#include "Tarnbook/TBKWholeWorld.h"
#include "Tarnbook/TBKWorldArchive.h"
#include "Tarnbook/TBKWorldMap.h"
