// One frame of the saver run into the back buffer; the main loop swaps it.
#pragma once

void composeFrame();
