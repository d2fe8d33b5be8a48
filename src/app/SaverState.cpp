#include "app/SaverState.h"

SaverState saverState;
