#include "script/Settings.h"

Settings settings;
